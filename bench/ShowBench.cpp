// The figures behind scripts/bench, one line each, times in milliseconds:
//
//   velmora_bench frames   "renderer NAME", then "frame PHASE MEDIAN P99" for
//                          the floor (a bare clear and swap) and for
//                          renderFrame at a show time in each phase
//   velmora_bench sound    "sound BUFFERS MEDIAN P99 WORST LOOP": the audio
//                          callback filling 4096-byte buffers over the piece,
//                          LOOP being the buffer that goes back to the start
//   velmora_bench count    one frame of each phase between callgrind dumps
//                          named after the phase (run it under callgrind)
//
// frames and count need a display (a virtual one will do); all of them run
// beside the data files. Each frame ends with glFinish, so that the time
// includes the drawing itself and not only the commands.
#include "app/AudioCallback.h"
#include "app/DataPath.h"
#include "app/IntroApp.h"
#include "audio/MusicPlayback.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
// Without valgrind's header the count mode only draws (scripts/bench installs it).
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS_AT(name) static_cast<void>(name)
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

struct Phase {
    const char* name;
    float showTime; // < 0: the floor, no renderFrame
};

constexpr Phase phases[] = {
    {"floor", -2.0f},   {"opening", 2.0f},  {"greeting", 12.3f},
    {"closing", 22.0f}, {"no-text", 10.0f},
};
constexpr int warmUpFrames = 10;
// Under callgrind every frame is slow. Two build the shaders, but the first
// phase counted after two carried about 0.8 M instructions of llvmpipe's own
// settling in some runs; after six, every run counted the same.
constexpr int countedWarmUpFrames = 6;
constexpr int timedFrames = 300;
constexpr int soundBufferBytes = 4096;

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Nearest-rank percentile of `values` (sorted here).
double percentile(std::vector<double>& values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[rank];
}

// One frame of `phase`, finished.
void drawFrame(IntroApp& app, const Phase& phase) {
    if (phase.showTime < 0.0f) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(app.window);
    } else {
        app.showClock = phase.showTime;
        app.renderFrame();
    }
    glFinish();
}

bool startShow(IntroApp& app) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (app.init() != 0) {
        std::fprintf(stderr, "velmora_bench: the show could not start\n");
        return false;
    }
    // Nothing else runs: the audio thread would take time from the frames.
    SDL_CloseAudio();
    return true;
}

int timeFrames() {
    IntroApp app;
    if (!startShow(app)) {
        return 1;
    }
    std::printf("renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    for (const Phase& phase : phases) {
        for (int i = 0; i < warmUpFrames; ++i) {
            drawFrame(app, phase);
        }
        std::vector<double> times;
        for (int i = 0; i < timedFrames; ++i) {
            const Clock::time_point start = Clock::now();
            drawFrame(app, phase);
            times.push_back(milliseconds(Clock::now() - start));
        }
        const double median = percentile(times, 0.5);
        std::printf("frame %s %.3f %.3f\n", phase.name, median, percentile(times, 0.99));
    }
    return 0;
}

int countInstructions() {
    IntroApp app;
    if (!startShow(app)) {
        return 1;
    }
    for (const Phase& phase : phases) {
        for (int i = 0; i < countedWarmUpFrames; ++i) {
            drawFrame(app, phase);
        }
        CALLGRIND_ZERO_STATS;
        drawFrame(app, phase);
        CALLGRIND_DUMP_STATS_AT(phase.name);
    }
    return 0;
}

int timeSound() {
    IntroApp app;
    bool reported = false;
    app.decoder = openMusic(dataFilePath("/dancing.ogg", reported));
    if (app.decoder == nullptr) {
        return 1;
    }
    // The whole piece: until the callback sends the decoder back to the start.
    std::vector<Uint8> buffer(soundBufferBytes);
    std::vector<double> times;
    int previousPosition = -1;
    for (;;) {
        const Clock::time_point start = Clock::now();
        audioCallback(&app, buffer.data(), soundBufferBytes);
        times.push_back(milliseconds(Clock::now() - start));
        const int position = stb_vorbis_get_sample_offset(app.decoder);
        if (position < previousPosition) {
            break;
        }
        previousPosition = position;
    }
    // The last buffer is the one that seeks back to the start.
    const double loopBuffer = times.back();
    const double worst = *std::max_element(times.begin(), times.end());
    const std::size_t buffers = times.size();
    const double median = percentile(times, 0.5);
    const double p99 = percentile(times, 0.99);
    std::printf("sound %zu %.3f %.3f %.3f %.3f\n", buffers, median, p99, worst, loopBuffer);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const char* mode = argc == 2 ? argv[1] : "";
    if (std::strcmp(mode, "frames") == 0) {
        return timeFrames();
    }
    if (std::strcmp(mode, "count") == 0) {
        return countInstructions();
    }
    if (std::strcmp(mode, "sound") == 0) {
        return timeSound();
    }
    std::fprintf(stderr, "usage: velmora_bench frames|count|sound\n");
    return 2;
}
