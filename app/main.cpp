// Velmora: a self-running audiovisual show. Escape or closing the window ends it.
#include "app/IntroApp.h"

// SDL.h renames main for SDL's entry layer where the platform needs one.
int main(int /*argc*/, char* /*argv*/[]) {
    // One application object for the whole run; its destructor shuts SDL down.
    IntroApp app;
    return app.run();
}
