#include "flashcheck/FlashAnalysis.h"

#include <algorithm>
#include <cmath>

namespace {

// The definitions' numbers.
constexpr float luminanceStep = 0.1f; // of the maximum relative luminance
constexpr float darkerStateBelow = 0.8f;
constexpr float rednessScale = 320.0f; // (R - G - B) x 320
constexpr float rednessStep = 20.0f;
constexpr float saturatedRedShare = 0.8f; // R / (R + G + B)
constexpr int mostFlashesPerSecond = 3;
constexpr double fieldShareAllowed = 0.25;

// Cells of this many pixels square: small beside a field (a field holds
// thousands), large enough to keep the analysis quick.
constexpr int cellSize = 4;

float linearFromSrgb(int code) {
    const double c = code / 255.0;
    return static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
}

// A flash is two transitions.
double flashes(int transitions) {
    return transitions / 2.0;
}

void raise(FlashPeak& peak, double value, int frame) {
    if (value > peak.value) {
        peak = {value, frame};
    }
}

} // namespace

bool FlashFigures::passes() const {
    return generalOverQuarterField.value <= mostFlashesPerSecond &&
           redOverQuarterField.value <= mostFlashesPerSecond;
}

bool TransitionTracker::update(float value, bool qualifies) {
    const State now{value, qualifies};
    if (!started) {
        started = true;
        low = high = now;
        return false;
    }
    if (direction == 0.0f) {
        if (value - low.value >= minimumChange) {
            direction = 1.0f;
            pivot = low;
        } else if (high.value - value >= minimumChange) {
            direction = -1.0f;
            pivot = high;
        } else {
            low = value < low.value ? now : low;
            high = value > high.value ? now : high;
            return false;
        }
        extreme = now;
        counted = false;
    } else if (direction * (value - extreme.value) >= 0.0f) {
        extreme = now; // the swing goes on
    } else if (direction * (extreme.value - value) >= minimumChange) {
        // It turned and has come back far enough: a swing the other way.
        pivot = extreme;
        extreme = now;
        direction = -direction;
        counted = false;
    } else {
        return false;
    }
    if (counted || !(pivot.qualifies || extreme.qualifies)) {
        return false;
    }
    counted = true;
    return true;
}

FlashAnalyser::FlashAnalyser(int width, int height, int framesPerSecond)
    : frameWidth(width), frameRate(framesPerSecond), cellsAcross(width / cellSize),
      cellsDown(height / cellSize),
      fieldAcross((cellsAcross + fieldsAcrossPicture / 2) / fieldsAcrossPicture),
      fieldDown((cellsDown + fieldsAcrossPicture / 2) / fieldsAcrossPicture) {
    for (int code = 0; code < 256; ++code) {
        linearFromCode.push_back(linearFromSrgb(code));
    }
    const std::size_t cells = static_cast<std::size_t>(cellsAcross) * cellsDown;
    sums.resize(cells * 3);
    luminance.resize(cells);
    redness.resize(cells);
    darkEnough.resize(cells);
    saturatedRed.resize(cells);
    areaTable.resize(static_cast<std::size_t>(cellsAcross + 1) * (cellsDown + 1));
    for (Test* test : {&general, &red}) {
        test->spots.assign(cells,
                           TransitionTracker(test == &general ? luminanceStep : rednessStep));
        test->perSecond.assign(cells, 0);
        test->history.assign(cells * framesPerSecond, 0);
    }
}

void FlashAnalyser::addFrame(const std::uint8_t* rgba) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (int y = 0; y < cellsDown * cellSize; ++y) {
        const std::uint8_t* pixel = rgba + static_cast<std::size_t>(y) * frameWidth * 4;
        float* row = &sums[static_cast<std::size_t>(y / cellSize) * cellsAcross * 3];
        for (int x = 0; x < cellsAcross * cellSize; ++x, pixel += 4) {
            float* cell = row + (x / cellSize) * 3;
            cell[0] += linearFromCode[pixel[0]];
            cell[1] += linearFromCode[pixel[1]];
            cell[2] += linearFromCode[pixel[2]];
        }
    }
    const float perPixel = 1.0f / (cellSize * cellSize);
    for (std::size_t cell = 0; cell < luminance.size(); ++cell) {
        const float r = sums[cell * 3] * perPixel;
        const float g = sums[cell * 3 + 1] * perPixel;
        const float b = sums[cell * 3 + 2] * perPixel;
        luminance[cell] = 0.2126f * r + 0.7152f * g + 0.0722f * b;
        darkEnough[cell] = luminance[cell] < darkerStateBelow;
        redness[cell] = std::max(r - g - b, 0.0f) * rednessScale;
        saturatedRed[cell] = r > 0.0f && r >= saturatedRedShare * (r + g + b);
    }
    follow(general, luminance, darkEnough, results.generalOverQuarterField,
           results.generalScreenShare, results.generalBusiestSpot);
    follow(red, redness, saturatedRed, results.redOverQuarterField, results.redScreenShare,
           results.redBusiestSpot);
    results.frames = ++frameIndex;
}

void FlashAnalyser::follow(Test& test, const std::vector<float>& values,
                           const std::vector<bool>& qualifies, FlashPeak& overQuarter,
                           FlashPeak& screenShare, FlashPeak& busiestSpot) {
    const std::size_t cells = values.size();
    // This frame's slot held the frame a second before, which leaves the
    // second as this one enters it.
    std::uint8_t* slot = &test.history[(frameIndex % frameRate) * cells];
    int flashing = 0, busiest = 0;
    for (std::size_t cell = 0; cell < cells; ++cell) {
        const std::uint8_t transition = test.spots[cell].update(values[cell], qualifies[cell]);
        test.perSecond[cell] += transition - slot[cell];
        slot[cell] = transition;
        flashing += test.perSecond[cell] >= 2 ? 1 : 0;
        busiest = std::max(busiest, test.perSecond[cell]);
    }
    raise(screenShare, static_cast<double>(flashing) / static_cast<double>(cells), frameIndex);
    raise(busiestSpot, flashes(busiest), frameIndex);
    while (test.worstOverQuarterField < busiest &&
           quarterOfAFieldReaches(test.perSecond, test.worstOverQuarterField + 1)) {
        raise(overQuarter, flashes(++test.worstOverQuarterField), frameIndex);
    }
}

bool FlashAnalyser::quarterOfAFieldReaches(const std::vector<int>& perSecond, int transitions) {
    const int across = cellsAcross + 1;
    for (int y = 0; y < cellsDown; ++y) {
        int rowSum = 0;
        for (int x = 0; x < cellsAcross; ++x) {
            rowSum += perSecond[static_cast<std::size_t>(y) * cellsAcross + x] >= transitions;
            areaTable[static_cast<std::size_t>(y + 1) * across + x + 1] =
                areaTable[static_cast<std::size_t>(y) * across + x + 1] + rowSum;
        }
    }
    const auto at = [&](int x, int y) {
        return areaTable[static_cast<std::size_t>(y) * across + x];
    };
    const double quarter = fieldShareAllowed * fieldAcross * fieldDown;
    for (int y = fieldDown; y <= cellsDown; ++y) {
        for (int x = fieldAcross; x <= cellsAcross; ++x) {
            const int area = at(x, y) - at(x - fieldAcross, y) - at(x, y - fieldDown) +
                             at(x - fieldAcross, y - fieldDown);
            if (area > quarter) {
                return true;
            }
        }
    }
    return false;
}
