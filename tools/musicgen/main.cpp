// velmora_musicgen: composes, renders and encodes the show's music.
//
//   velmora_musicgen OUTPUT.ogg [--wav FILE.wav] [--levels]
//   velmora_musicgen --analyse FILE.ogg
//
// The player jumps back to the start after a whole number of 1024-frame
// callbacks, at the first one that leaves the decoder past the loop point.
// The piece is written to be exactly that long (P frames) and periodic, and
// the file carries on past P with the piece's own beginning, so the jump
// lands on the very sample the file would have played anyway. Which callback
// that is depends on the encoded file, so the tool encodes, plays the result
// as the player would, and renders again with other noise if the jump came
// a callback late.
#include "Arrangement.h"
#include "LoopAnalysis.h"
#include "Loudness.h"
#include "Mastering.h"
#include "Mixer.h"
#include "SectionLoudness.h"
#include "Timeline.h"
#include "VorbisWriter.h"
#include "WavWriter.h"
#include "base/ShowConstants.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <string>

namespace {

// Whether the decoder's position passes the loop point in callback 2086 or
// only in 2087 depends on where the Vorbis block grid falls at the cycle end,
// and every run of short blocks the encoder chooses at a drum hit moves that
// grid. Another noise variation shifts those runs; about half of them put the
// jump at the cycle end, so a few tries are plenty.
constexpr std::uint64_t noiseVariations = 8;

// Music past the jump: enough for any decoder look-ahead plus a margin.
constexpr long long tailFrames = 2 * audioSampleRate;

void printUsage() {
    std::cerr << "usage: velmora_musicgen OUTPUT.ogg [--wav FILE.wav] [--levels]\n"
                 "       velmora_musicgen --analyse FILE.ogg\n";
}

// The loudness range of the file and the loudness of each section.
void printShape(std::ostream& out, const StereoBuffer& file, const Timeline& timeline,
                const std::vector<SectionSpan>& sections) {
    out << "loudness range " << loudnessRange(file) << " LU;";
    for (const SectionLoudness& section : sectionLoudness(file, timeline, sections)) {
        out << " " << section.name << " " << section.lufs;
    }
    out << " LUFS\n";
}

int analyseExisting(const std::string& path) {
    const LoopAnalysis analysis = analyseLoop(path, PlayerModel{});
    printLoopAnalysis(std::cout, analysis);
    return analysis.opened && analysis.jumpFrame > 0 ? 0 : 1;
}

int generate(const std::string& outputPath, const std::string& wavPath, bool showLevels) {
    const auto started = std::chrono::steady_clock::now();
    const Arrangement song = composeArrangement();
    const Timeline timeline{loopCycleFrames, song.bars};
    std::cout << std::fixed << std::setprecision(3) << "cycle " << loopCycleFrames << " frames, "
              << song.bars << " bars at " << timeline.beatsPerMinute() << " BPM\n";
    for (std::uint64_t variation = 0; variation < noiseVariations; ++variation) {
        std::cout << "noise variation " << variation << "\n";
        const StereoBuffer mix =
            renderMix(timeline, song, variation, showLevels ? &std::cout : nullptr);
        const MasteringResult mastered =
            masterCycle(mix, loopCycleFrames + tailFrames, MasteringTarget{},
                        showLevels ? &std::cout : nullptr);
        std::cout << "master: " << mastered.integratedLufs << " LUFS, true peak "
                  << mastered.truePeakDb << " dBTP, gain " << mastered.gainDb << " dB\n";
        printShape(std::cout, fromInterleaved(mastered.interleaved), timeline, song.sections);
        if (!wavPath.empty() &&
            !writeWav(wavPath, mastered.interleaved, audioChannels, audioSampleRate)) {
            std::cerr << "cannot write " << wavPath << "\n";
            return 1;
        }
        const std::vector<unsigned char> ogg = encodeVorbis(mastered.interleaved, VorbisSettings{});
        if (ogg.empty() || !writeBytes(outputPath, ogg)) {
            std::cerr << "cannot encode or write " << outputPath << "\n";
            return 1;
        }
        const LoopAnalysis analysis = analyseLoop(outputPath, PlayerModel{});
        printLoopAnalysis(std::cout, analysis);
        if (analysis.jumpFrame == loopCycleFrames &&
            analysis.secondCycleFrames == loopCycleFrames) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::cout << "wrote " << outputPath << ": " << ogg.size() << " bytes in " << seconds
                      << " s\n";
            return 0;
        }
        if (analysis.jumpFrame <= 0) {
            break;
        }
        std::cout << "the player jumps at " << analysis.jumpFrame
                  << ", not at the cycle end; rendering again\n";
    }
    std::cerr << "no noise variation put the player's jump at the cycle end\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--analyse") == 0) {
        return analyseExisting(argv[2]);
    }
    if (argc < 2 || argv[1][0] == '-') {
        printUsage();
        return 2;
    }
    std::string wavPath;
    bool showLevels = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--wav") == 0 && i + 1 < argc) {
            wavPath = argv[++i];
        } else if (std::strcmp(argv[i], "--levels") == 0) {
            showLevels = true;
        } else {
            printUsage();
            return 2;
        }
    }
    return generate(argv[1], wavPath, showLevels);
}
