#include "Mastering.h"

#include "Limiter.h"
#include "Loudness.h"
#include "base/ShowConstants.h"

#include <algorithm>
#include <cmath>
#include <ostream>

StereoBuffer extendPeriodically(const StereoBuffer& cycle, long long frames) {
    StereoBuffer out(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < out.frames(); ++i) {
        out.left[i] = cycle.left[i % cycle.frames()];
        out.right[i] = cycle.right[i % cycle.frames()];
    }
    return out;
}

MasteringResult masterCycle(const StereoBuffer& cycle, long long fileFrames,
                            const MasteringTarget& target, std::ostream* log) {
    LimiterSettings limiter;
    limiter.ceiling = fromDecibels(target.truePeakCeilingDb);

    // The limiter takes off a little loudness as it works, so the gain is
    // found by a few fixed rounds of measure-and-correct. The number of
    // rounds is fixed, which keeps the result the same on every run.
    double gainDb =
        target.integratedLufs - integratedLoudness(extendPeriodically(cycle, fileFrames));
    StereoBuffer limited(0);
    double measured = 0.0;
    constexpr int roundCount = 4;
    for (int round = 0; round < roundCount; ++round) {
        limited = limitCycle(cycle, fromDecibels(gainDb), limiter);
        measured = integratedLoudness(extendPeriodically(limited, fileFrames));
        if (log != nullptr) {
            *log << "mastering round " << round + 1 << ": gain " << gainDb << " dB -> " << measured
                 << " LUFS\n";
        }
        if (round + 1 < roundCount) {
            gainDb += target.integratedLufs - measured;
        }
    }

    if (log != nullptr) {
        const double unlimited = toDecibels(truePeak(cycle)) + gainDb;
        *log << "true peak before limiting: " << unlimited
             << " dBTP, so the limiter takes off at most "
             << std::max(0.0, unlimited - target.truePeakCeilingDb) << " dB\n";
    }
    const StereoBuffer file = extendPeriodically(limited, fileFrames);
    MasteringResult result;
    result.gainDb = gainDb;
    result.integratedLufs = measured;
    result.truePeakDb = toDecibels(truePeak(file));
    result.interleaved.resize(audioChannels * file.frames());
    auto quantise = [](float x) {
        const double scaled = std::round(static_cast<double>(x) * 32767.0);
        return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
    };
    for (std::size_t i = 0; i < file.frames(); ++i) {
        result.interleaved[audioChannels * i] = quantise(file.left[i]);
        result.interleaved[audioChannels * i + 1] = quantise(file.right[i]);
    }
    return result;
}
