#include "record/ContactSheet.h"

#include "app/ShowClock.h"
#include "base/ShowConstants.h"
#include "record/RecordOptions.h"
#include "text/FontRecord.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// One frame per unit of the show clock, from the middle of the unit: the
// unit's start is a name's first moment, before its colour has come.
constexpr std::uint32_t sheetIntervalMs = millisecondsPerShowUnit;
constexpr std::uint32_t firstSheetMs = millisecondsPerShowUnit / 2;
// Every cell is this wide, whatever the frame size (a quarter of 800).
constexpr int cellWidth = 200;
constexpr int maxColumns = 7;
constexpr int labelHeight = 34;
constexpr int labelBaselineFromTop = 25;
constexpr int labelLeftMargin = 6;
constexpr std::uint8_t backgroundGrey = 24;
constexpr std::uint8_t labelGrey = 235;
constexpr int rgbChannels = 3;
constexpr int rgbaChannels = 4;

} // namespace

ContactSheet::ContactSheet(int frameWidth, int frameHeight, int frameCount, int framesPerSecond)
    : frameWidth_(frameWidth), frameHeight_(frameHeight), framesPerSecond_(framesPerSecond) {
    std::uint32_t nextMark = firstSheetMs;
    for (int frame = 0; frame < frameCount; ++frame) {
        if (frameTicks(frame, framesPerSecond) >= nextMark) {
            frameIndices_.push_back(frame);
            nextMark += sheetIntervalMs;
        }
    }
    if (frameIndices_.empty() && frameCount > 0) {
        frameIndices_.push_back(0);
    }
    const int cells = static_cast<int>(frameIndices_.size());
    columns_ = std::min(cells, maxColumns);
    const int rows = (cells + columns_ - 1) / columns_;
    cellHeight_ = std::max(1, (2 * cellWidth * frameHeight + frameWidth) / (2 * frameWidth));
    sheetWidth_ = columns_ * cellWidth;
    sheetHeight_ = rows * (cellHeight_ + labelHeight);
    rgb_.assign(static_cast<std::size_t>(sheetWidth_) * sheetHeight_ * rgbChannels, backgroundGrey);
}

bool ContactSheet::wants(int frameIndex) const {
    return std::binary_search(frameIndices_.begin(), frameIndices_.end(), frameIndex);
}

void ContactSheet::add(int frameIndex, const std::uint8_t* rgbaBottomUp) {
    const auto found = std::lower_bound(frameIndices_.begin(), frameIndices_.end(), frameIndex);
    if (found == frameIndices_.end() || *found != frameIndex) {
        return;
    }
    const int cell = static_cast<int>(found - frameIndices_.begin());
    const int left = (cell % columns_) * cellWidth;
    const int top = (cell / columns_) * (cellHeight_ + labelHeight);

    // Box filter: each sheet pixel is the mean of the frame pixels it covers.
    for (int y = 0; y < cellHeight_; ++y) {
        const int firstRow = y * frameHeight_ / cellHeight_;
        const int endRow = std::max(firstRow + 1, (y + 1) * frameHeight_ / cellHeight_);
        for (int x = 0; x < cellWidth; ++x) {
            const int firstColumn = x * frameWidth_ / cellWidth;
            const int endColumn = std::max(firstColumn + 1, (x + 1) * frameWidth_ / cellWidth);
            long sums[rgbChannels] = {0, 0, 0};
            for (int row = firstRow; row < endRow; ++row) {
                // Frames come bottom row first.
                const std::uint8_t* source =
                    rgbaBottomUp +
                    static_cast<std::size_t>(frameHeight_ - 1 - row) * frameWidth_ * rgbaChannels;
                for (int column = firstColumn; column < endColumn; ++column) {
                    for (int c = 0; c < rgbChannels; ++c) {
                        sums[c] += source[column * rgbaChannels + c];
                    }
                }
            }
            const long area = static_cast<long>(endRow - firstRow) * (endColumn - firstColumn);
            std::uint8_t* target =
                &rgb_[(static_cast<std::size_t>(top + y) * sheetWidth_ + left + x) * rgbChannels];
            for (int c = 0; c < rgbChannels; ++c) {
                target[c] = static_cast<std::uint8_t>((sums[c] + area / 2) / area);
            }
        }
    }

    drawLabel(label(frameTicks(frameIndex, framesPerSecond_)), left + labelLeftMargin,
              top + cellHeight_ + labelBaselineFromTop);
}

std::string ContactSheet::label(std::uint32_t ticks) {
    char text[48];
    std::snprintf(text, sizeof text, "%u:%02u   t %.2f", ticks / 60000u, ticks / 1000u % 60u,
                  static_cast<double>(showClockFromTicks(ticks)));
    return text;
}

void ContactSheet::drawLabel(const std::string& text, int left, int baseline) {
    // The show's own compiled-in font, its coverage blended over the sheet.
    float pen = static_cast<float>(left);
    const int atlasSide = static_cast<int>(FontRecord::atlasSide);
    for (const char character : text) {
        const Glyph* glyph = findGlyph(fontRecord, static_cast<unsigned char>(character));
        if (glyph == nullptr) {
            continue;
        }
        const int atlasLeft = static_cast<int>(std::lround(glyph->s0 * atlasSide));
        const int atlasTop = static_cast<int>(std::lround(glyph->t0 * atlasSide));
        const int originX = static_cast<int>(std::lround(pen)) + glyph->offsetX;
        const int originY = baseline - glyph->offsetY;
        for (int row = 0; row < glyph->height; ++row) {
            for (int column = 0; column < glyph->width; ++column) {
                const int x = originX + column;
                const int y = originY + row;
                if (x < 0 || y < 0 || x >= sheetWidth_ || y >= sheetHeight_) {
                    continue;
                }
                const int coverage =
                    fontRecord.atlas[(atlasTop + row) * atlasSide + atlasLeft + column];
                std::uint8_t* target =
                    &rgb_[(static_cast<std::size_t>(y) * sheetWidth_ + x) * rgbChannels];
                for (int c = 0; c < rgbChannels; ++c) {
                    target[c] = static_cast<std::uint8_t>(
                        (target[c] * (255 - coverage) + labelGrey * coverage + 127) / 255);
                }
            }
        }
        pen += glyph->advanceX;
    }
}

std::vector<std::uint8_t> ContactSheet::png() const {
    std::vector<std::uint8_t> bytes;
    const auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(context);
        const auto* first = static_cast<const std::uint8_t*>(data);
        out->insert(out->end(), first, first + size);
    };
    stbi_flip_vertically_on_write(0);
    if (stbi_write_png_to_func(append, &bytes, sheetWidth_, sheetHeight_, rgbChannels, rgb_.data(),
                               sheetWidth_ * rgbChannels) == 0) {
        bytes.clear();
    }
    return bytes;
}
