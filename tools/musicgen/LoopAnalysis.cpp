#include "LoopAnalysis.h"

#include "VorbisReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <vector>

namespace {

double seconds(long long frames) {
    return static_cast<double>(frames) / audioSampleRate;
}

int step(const std::vector<std::int16_t>& a, std::size_t frameA, const std::vector<std::int16_t>& b,
         std::size_t frameB) {
    int largest = 0;
    for (std::size_t c = 0; c < audioChannels; ++c) {
        largest = std::max(largest, std::abs(static_cast<int>(b[audioChannels * frameB + c]) -
                                             static_cast<int>(a[audioChannels * frameA + c])));
    }
    return largest;
}

} // namespace

LoopAnalysis analyseLoop(const std::string& path, const PlayerModel& player) {
    LoopAnalysis result;
    const std::vector<std::int16_t> straight = decodeWhole(path);
    VorbisReader decoder(path);
    if (!decoder.opened() || straight.empty()) {
        return result;
    }
    result.opened = true;
    result.fileFrames = static_cast<long long>(straight.size() / audioChannels);

    // Play it as the callback does, until two jumps have been seen. A
    // callback that gets fewer frames than it asked for fills with silence.
    std::vector<std::int16_t> handedOut;
    std::vector<long long> jumps;
    const long long limit = 3 * result.fileFrames + 10 * player.framesPerCallback;
    long long handedFrames = 0;
    while (jumps.size() < 2 && handedFrames < limit) {
        const int frames = decoder.read(handedOut, player.framesPerCallback);
        handedFrames += player.framesPerCallback;
        handedOut.resize(audioChannels * static_cast<std::size_t>(handedFrames), 0);
        const long long position = decoder.position();
        if (static_cast<double>(position) > player.loopPoint) {
            if (jumps.empty()) {
                result.positionAtJump = position;
            }
            jumps.push_back(handedFrames);
            decoder.rewind();
        }
        if (frames == 0 && jumps.empty()) {
            break; // ran off the end without ever jumping
        }
    }
    if (jumps.empty()) {
        return result;
    }
    result.jumpFrame = jumps[0];
    result.callbacksBeforeJump = result.jumpFrame / player.framesPerCallback;
    if (jumps.size() > 1) {
        result.secondCycleFrames = jumps[1] - jumps[0];
    }

    // After the jump the player should be replaying the stream from its start.
    const std::size_t p = static_cast<std::size_t>(result.jumpFrame);
    const std::size_t handedTotal = handedOut.size() / audioChannels;
    for (std::size_t i = 0; i < std::min(handedTotal - p, p); ++i) {
        if (step(handedOut, p + i, straight, i) != 0) {
            ++result.resumeMismatches;
        }
    }

    result.stepAtJump = step(handedOut, p - 1, handedOut, p);
    for (std::size_t i = 1; i < handedTotal; ++i) {
        if (std::find(jumps.begin(), jumps.end(), static_cast<long long>(i)) == jumps.end()) {
            result.largestStepElsewhere =
                std::max(result.largestStepElsewhere, step(handedOut, i - 1, handedOut, i));
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
        << " s), " << a.callbacksBeforeJump << " callbacks, decoder position " << a.positionAtJump
        << "\n";
    out << "second cycle: " << a.secondCycleFrames << " frames"
        << (a.secondCycleFrames == a.jumpFrame ? " (same as the first)" : " (DIFFERENT)") << "\n";
    out << "frames after the jump that differ from the stream start: " << a.resumeMismatches
        << "\n";
    out << "sample step across the jump: " << a.stepAtJump
        << ", largest anywhere else: " << a.largestStepElsewhere << "\n";
}
