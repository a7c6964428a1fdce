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
//
// The page sizes the canvas's drawing buffer to its size on the screen, in
// the screen's own pixels (app/web/index.html); each frame the show looks at
// that size and fits its picture to it when it has changed.
#include "app/IntroApp.h"
#include "base/ShowConstants.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>

// Calls the page's Module.onShowEnded (app/web/JsLibrary.js).
extern "C" void velmoraShowEnded(int result);

namespace {

constexpr const char* canvasSelector = "#canvas";

// The show and the drawing buffer size its picture is fitted to.
struct BrowserShow {
    IntroApp app;
    int canvasWidth = windowWidth;
    int canvasHeight = windowHeight;
};

void showFrame(void* showPointer) {
    auto* show = static_cast<BrowserShow*>(showPointer);
    int width = 0;
    int height = 0;
    emscripten_get_canvas_element_size(canvasSelector, &width, &height);
    if (width != show->canvasWidth || height != show->canvasHeight) {
        show->canvasWidth = width;
        show->canvasHeight = height;
        show->app.fitDrawable(width, height);
    }
    show->app.advanceFrame();
    if (!show->app.running) {
        emscripten_cancel_main_loop();
        delete show;
        velmoraShowEnded(0);
    }
}

} // namespace

int main(int /*argc*/, char* /*argv*/[]) {
    auto show = std::make_unique<BrowserShow>();
    const int result = show->app.init();
    if (result != 0) {
        show.reset();
        velmoraShowEnded(result);
        return result;
    }
    show->app.running = true;
    // Frame rate 0: one frame per browser animation frame. The loop is not
    // simulated as infinite, so main returns and the page stays responsive.
    emscripten_set_main_loop_arg(showFrame, show.release(), 0, 0);
    return 0;
}
