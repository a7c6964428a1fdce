// Velmora in a web browser: the same application object as on the desktop,
// with the browser pacing the frames.
//
// main() runs start-up and returns at once; from then on the browser calls
// showFrame once per animation frame (requestAnimationFrame). The application
// object lives on the heap for as long as that goes on: showFrame owns it and
// deletes it when the show ends, which shuts SDL down and so stops the sound.
// The page (app/web/index.html) calls main again to start a new show.
//
// The page learns how a show ended through Module.onShowEnded(result): 0
// after Escape, otherwise the failed start-up's result (1 or -1).
#include "app/IntroApp.h"

#include <emscripten.h>

#include <memory>

// Calls the page's Module.onShowEnded (app/web/JsLibrary.js).
extern "C" void velmoraShowEnded(int result);

namespace {

void showFrame(void* appPointer) {
    auto* app = static_cast<IntroApp*>(appPointer);
    app->advanceFrame();
    if (!app->running) {
        emscripten_cancel_main_loop();
        delete app;
        velmoraShowEnded(0);
    }
}

} // namespace

int main(int /*argc*/, char* /*argv*/[]) {
    auto app = std::make_unique<IntroApp>();
    const int result = app->init();
    if (result != 0) {
        app.reset();
        velmoraShowEnded(result);
        return result;
    }
    app->running = true;
    // Frame rate 0: one frame per browser animation frame. The loop is not
    // simulated as infinite, so main returns and the page stays responsive.
    emscripten_set_main_loop_arg(showFrame, app.release(), 0, 0);
    return 0;
}
