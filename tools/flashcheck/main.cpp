// Checks recorded frames of the show against the general-flash and red-flash
// limits (FlashAnalysis.h says how), and prints the figures with
// their headroom:
//
//   velmora_flash_check [--fps N] FRAMES
//
// FRAMES holds raw 800x600 RGBA frames, as `velmora-record --raw-frames`
// writes them: a file, a named pipe the recorder writes into while the check
// reads, or - for standard input. N is the frame rate they were recorded at
// (60 by default). Exits with 0 when the frames pass, 1 when they fail, 2 when
// they cannot be read.
#include "base/ShowConstants.h"
#include "flashcheck/FlashAnalysis.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int defaultFramesPerSecond = 60;
constexpr std::size_t bytesPerPixel = 4;

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s [--fps N] FRAMES\n", program);
    return 2;
}

void print(const char* what, const FlashPeak& peak, int framesPerSecond, const char* unit,
           double scale) {
    std::printf("%s: %.1f%s", what, peak.value * scale, unit);
    if (peak.frame >= 0) {
        std::printf(" (frame %d, %.2f s)", peak.frame, peak.frame / double(framesPerSecond));
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[]) {
    int framesPerSecond = defaultFramesPerSecond;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fps") == 0 && i + 1 < argc) {
            framesPerSecond = std::atoi(argv[++i]);
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            return usage(argv[0]);
        }
    }
    if (path == nullptr || framesPerSecond <= 0) {
        return usage(argv[0]);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb"),
        [](std::FILE* f) { return f == stdin ? 0 : std::fclose(f); });
    if (!file) {
        std::fprintf(stderr, "velmora_flash_check: cannot read %s\n", path);
        return 2;
    }
    FlashAnalyser analyser(windowWidth, windowHeight, framesPerSecond);
    std::vector<std::uint8_t> frame(std::size_t{windowWidth} * windowHeight * bytesPerPixel);
    std::size_t got = 0;
    while ((got = std::fread(frame.data(), 1, frame.size(), file.get())) == frame.size()) {
        analyser.addFrame(frame.data());
    }
    const FlashFigures& figures = analyser.figures();
    if (got != 0 || figures.frames == 0) {
        std::fprintf(stderr, "velmora_flash_check: %s does not hold whole %dx%d RGBA frames\n",
                     path, windowWidth, windowHeight);
        return 2;
    }
    std::printf("frames: %d at %d fps, %dx%d; a 10-degree field is half of each side\n",
                figures.frames, framesPerSecond, windowWidth, windowHeight);
    print("flashes a second over a quarter of a field", figures.generalOverQuarterField,
          framesPerSecond, "", 1.0);
    print("red flashes a second over a quarter of a field", figures.redOverQuarterField,
          framesPerSecond, "", 1.0);
    print("screen flashing within a second", figures.generalScreenShare, framesPerSecond, " %",
          100.0);
    print("screen flashing red within a second", figures.redScreenShare, framesPerSecond, " %",
          100.0);
    print("flashes a second at the busiest spot", figures.generalBusiestSpot, framesPerSecond, "",
          1.0);
    print("red flashes a second at the busiest spot", figures.redBusiestSpot, framesPerSecond, "",
          1.0);
    std::printf("%s (at most 3 flashes a second over a quarter of any field)\n",
                figures.passes() ? "passes" : "fails");
    return figures.passes() ? 0 : 1;
}
