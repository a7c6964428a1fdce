// Whole frames per second, swap included, at show times in each phase.
// Needs a display; on a machine without one run it under xvfb-run with an
// 800x600x24 screen. It measures and checks nothing; compare its figures
// with those in DEVELOPERS.md.
#include "app/IntroApp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

IntroApp* sharedApp() {
    static std::unique_ptr<IntroApp> app = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        auto made = std::make_unique<IntroApp>();
        return made->init() == 0 ? std::move(made) : nullptr;
    }();
    return app.get();
}

void frameAt(benchmark::State& state, float showTime) {
    IntroApp* app = sharedApp();
    if (app == nullptr) {
        state.SkipWithError("start-up failed");
        return;
    }
    app->showClock = showTime;
    for (auto _ : state) {
        app->renderFrame();
    }
    glFinish();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(frameAt, opening, 2.0f)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frameAt, greetings, 12.3f)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(frameAt, closing, 22.0f)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
