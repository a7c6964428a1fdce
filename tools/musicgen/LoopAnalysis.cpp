#include "LoopAnalysis.h"

#include "base/ShowConstants.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

class Decoder {
public:
    explicit Decoder(const std::string& path) {
        int error = 0;
        handle = stb_vorbis_open_filename(path.c_str(), &error, nullptr);
    }
    ~Decoder() {
        if (handle != nullptr) {
            stb_vorbis_close(handle);
        }
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    stb_vorbis* handle = nullptr;
};

// The whole stream, decoded straight through with no jumps.
std::vector<std::int16_t> decodeStraight(const std::string& path) {
    Decoder decoder(path);
    std::vector<std::int16_t> samples;
    if (decoder.handle == nullptr) {
        return samples;
    }
    std::vector<short> buffer(8192);
    for (;;) {
        const int frames = stb_vorbis_get_samples_short_interleaved(
            decoder.handle, 2, buffer.data(), static_cast<int>(buffer.size()));
        if (frames <= 0) {
            break;
        }
        samples.insert(samples.end(), buffer.begin(), buffer.begin() + 2 * frames);
    }
    return samples;
}

double seconds(long long frames) {
    return static_cast<double>(frames) / audioSampleRate;
}

int step(const std::vector<std::int16_t>& a, std::size_t frameA, const std::vector<std::int16_t>& b,
         std::size_t frameB) {
    int largest = 0;
    for (std::size_t c = 0; c < 2; ++c) {
        largest = std::max(largest, std::abs(static_cast<int>(b[2 * frameB + c]) -
                                             static_cast<int>(a[2 * frameA + c])));
    }
    return largest;
}

} // namespace

LoopAnalysis analyseLoop(const std::string& path, const PlayerModel& player,
                         double examineSeconds) {
    LoopAnalysis result;
    const std::vector<std::int16_t> straight = decodeStraight(path);
    Decoder decoder(path);
    if (decoder.handle == nullptr || straight.empty()) {
        return result;
    }
    result.opened = true;
    result.fileFrames = static_cast<long long>(straight.size() / 2);

    // Play it as the callback does, until two jumps have been seen.
    const std::size_t callbackValues = static_cast<std::size_t>(2 * player.framesPerCallback);
    std::vector<short> buffer(callbackValues);
    std::vector<std::int16_t> handedOut;
    std::vector<long long> jumps;
    const long long limit = 3 * result.fileFrames + 10 * player.framesPerCallback;
    long long handedFrames = 0;
    while (jumps.size() < 2 && handedFrames < limit) {
        std::fill(buffer.begin(), buffer.end(), static_cast<short>(0));
        const int frames = stb_vorbis_get_samples_short_interleaved(
            decoder.handle, 2, buffer.data(), static_cast<int>(callbackValues));
        if (frames < player.framesPerCallback) {
            result.shortFill = true;
        }
        handedOut.insert(handedOut.end(), buffer.begin(), buffer.end());
        handedFrames += player.framesPerCallback;
        const int position = stb_vorbis_get_sample_offset(decoder.handle);
        if (static_cast<double>(position) > player.loopPoint) {
            if (jumps.empty()) {
                result.positionAtJump = position;
            }
            jumps.push_back(handedFrames);
            stb_vorbis_seek(decoder.handle, 0);
        }
        if (frames == 0 && jumps.empty()) {
            break; // ran off the end without ever jumping
        }
    }
    if (jumps.empty()) {
        return result;
    }
    const long long jump = jumps[0];
    result.jumpFrame = jump;
    if (jumps.size() > 1) {
        result.secondCycleFrames = jumps[1] - jumps[0];
    }

    const std::size_t p = static_cast<std::size_t>(jump);
    const std::size_t handedTotal = handedOut.size() / 2;
    const std::size_t fileTotal = straight.size() / 2;

    // After the jump the player should be replaying the stream from its start.
    const std::size_t resumeSpan = std::min(handedTotal - p, p);
    for (std::size_t i = 0; i < resumeSpan; ++i) {
        if (step(handedOut, p + i, straight, i) != 0) {
            ++result.resumeMismatches;
        }
    }

    result.stepAtJump = step(handedOut, p - 1, handedOut, p);
    if (p < fileTotal) {
        result.stepInFileAtJump = step(straight, p - 1, straight, p);
    }
    const std::size_t oneSecond = static_cast<std::size_t>(audioSampleRate);
    for (std::size_t i = 0; i < oneSecond && p + i < fileTotal && p + i < handedTotal; ++i) {
        result.largestDeviationAfterJump =
            std::max(result.largestDeviationAfterJump, step(handedOut, p + i, straight, p + i));
    }

    const std::size_t examined =
        std::min(handedTotal, static_cast<std::size_t>(examineSeconds * audioSampleRate));
    result.examinedFrames = static_cast<long long>(examined);
    const std::size_t halfSecond = oneSecond / 2;
    for (std::size_t i = 1; i < examined; ++i) {
        const bool atJump =
            std::find(jumps.begin(), jumps.end(), static_cast<long long>(i)) != jumps.end();
        if (atJump) {
            continue;
        }
        const int s = step(handedOut, i - 1, handedOut, i);
        if (s > result.largestStepElsewhere) {
            result.largestStepElsewhere = s;
            result.largestStepElsewhereFrame = static_cast<long long>(i);
        }
        if (i + halfSecond > p && i < p + halfSecond) {
            result.largestStepNearJump = std::max(result.largestStepNearJump, s);
        }
    }
    return result;
}

void printLoopAnalysis(std::ostream& out, const LoopAnalysis& a) {
    out << std::fixed << std::setprecision(3);
    if (!a.opened) {
        out << "loop analysis: the file could not be decoded\n";
        return;
    }
    out << "stream length: " << a.fileFrames << " frames (" << seconds(a.fileFrames) << " s)\n";
    if (a.jumpFrame < 0) {
        out << "jump: none (the decoder position never passed the loop point)\n";
        return;
    }
    out << "jump: after " << a.jumpFrame << " frames handed out (" << seconds(a.jumpFrame)
        << " s), " << a.jumpFrame / 1024 << " callbacks, decoder position " << a.positionAtJump
        << "\n";
    out << "second cycle: " << a.secondCycleFrames << " frames"
        << (a.secondCycleFrames == a.jumpFrame ? " (same as the first)" : " (DIFFERENT)") << "\n";
    out << "short fills before the second jump: " << (a.shortFill ? "yes" : "none") << "\n";
    out << "frames after the jump that differ from the stream start: " << a.resumeMismatches
        << "\n";
    out << "sample step across the jump: " << a.stepAtJump
        << " (the file's own step at that point: " << a.stepInFileAtJump << ")\n";
    out << "largest step within 0.5 s of the jump: " << a.largestStepNearJump << "\n";
    out << "largest step elsewhere in the first " << seconds(a.examinedFrames)
        << " s: " << a.largestStepElsewhere << " at frame " << a.largestStepElsewhereFrame << "\n";
    out << "largest difference from the file's own continuation, first second after the jump: "
        << a.largestDeviationAfterJump << "\n";
}
