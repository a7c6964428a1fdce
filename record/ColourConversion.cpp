#include "record/ColourConversion.h"

namespace {

// Fixed point: coefficients scaled by 2^16, already including the limited
// range's scale (219/255 for luma, 224/255 for chroma).
constexpr int fractionBits = 16;
constexpr std::int32_t lumaRed = 11966;    // 0.2126 x 219/255
constexpr std::int32_t lumaGreen = 40254;  // 0.7152 x 219/255
constexpr std::int32_t lumaBlue = 4064;    // 0.0722 x 219/255
constexpr std::int32_t blueRed = -6596;    // -0.2126/1.8556 x 224/255
constexpr std::int32_t blueGreen = -22188; // rows sum to 0: grey has no colour
constexpr std::int32_t blueBlue = 28784;   // 0.5 x 224/255
constexpr std::int32_t redRed = 28784;
constexpr std::int32_t redGreen = -26145; // -0.7152/1.5748 x 224/255
constexpr std::int32_t redBlue = -2639;
constexpr std::int32_t lumaOffset = 16;
constexpr std::int32_t chromaOffset = 128;
constexpr int rgbaBytes = 4;

} // namespace

namespace {

// The Y plane, top row first.
void writeLuma(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* lumaPlane) {
    const std::size_t stride = static_cast<std::size_t>(width) * rgbaBytes;
    constexpr std::int32_t half = 1 << (fractionBits - 1);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgbaBottomUp + static_cast<std::size_t>(height - 1 - y) * stride;
        std::uint8_t* luma = lumaPlane + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * rgbaBytes;
            luma[x] = static_cast<std::uint8_t>(
                ((lumaRed * p[0] + lumaGreen * p[1] + lumaBlue * p[2] + half) >> fractionBits) +
                lumaOffset);
        }
    }
}

// Cb and Cr of a colour given as sums of `1 << extraBits` pixels.
template <int extraBits>
void writeChroma(std::int32_t r, std::int32_t g, std::int32_t b, std::uint8_t& blue,
                 std::uint8_t& red) {
    constexpr int sumBits = fractionBits + extraBits;
    constexpr std::int32_t sumHalf = 1 << (sumBits - 1);
    blue = static_cast<std::uint8_t>(
        ((blueRed * r + blueGreen * g + blueBlue * b + sumHalf) >> sumBits) + chromaOffset);
    red = static_cast<std::uint8_t>(
        ((redRed * r + redGreen * g + redBlue * b + sumHalf) >> sumBits) + chromaOffset);
}

} // namespace

void rgbaToYuv420(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* yuv) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint8_t* blueDifferencePlane = yuv + pixels;
    std::uint8_t* redDifferencePlane = blueDifferencePlane + pixels / 4;
    const std::size_t stride = static_cast<std::size_t>(width) * rgbaBytes;
    writeLuma(rgbaBottomUp, width, height, yuv);

    // Chroma from the sum of each 2x2 block: two more fraction bits.
    const int chromaWidth = width / 2;
    for (int y = 0; y < height / 2; ++y) {
        const std::uint8_t* upper =
            rgbaBottomUp + static_cast<std::size_t>(height - 1 - 2 * y) * stride;
        const std::uint8_t* lower = upper - stride;
        std::uint8_t* blue = blueDifferencePlane + static_cast<std::size_t>(y) * chromaWidth;
        std::uint8_t* red = redDifferencePlane + static_cast<std::size_t>(y) * chromaWidth;
        for (int x = 0; x < chromaWidth; ++x) {
            const std::uint8_t* a = upper + 2 * x * rgbaBytes;
            const std::uint8_t* b = lower + 2 * x * rgbaBytes;
            writeChroma<2>(a[0] + a[4] + b[0] + b[4], a[1] + a[5] + b[1] + b[5],
                           a[2] + a[6] + b[2] + b[6], blue[x], red[x]);
        }
    }
}

void rgbaToYuv444(const std::uint8_t* rgbaBottomUp, int width, int height, std::uint8_t* yuv) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint8_t* blueDifferencePlane = yuv + pixels;
    std::uint8_t* redDifferencePlane = blueDifferencePlane + pixels;
    const std::size_t stride = static_cast<std::size_t>(width) * rgbaBytes;
    writeLuma(rgbaBottomUp, width, height, yuv);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgbaBottomUp + static_cast<std::size_t>(height - 1 - y) * stride;
        const std::size_t rowStart = static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * rgbaBytes;
            writeChroma<0>(p[0], p[1], p[2], blueDifferencePlane[rowStart + x],
                           redDifferencePlane[rowStart + x]);
        }
    }
}
