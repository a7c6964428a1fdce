// Velmora: a self-running audiovisual show. Escape or closing the window ends it.
#include "app/IntroApp.h"
#include "app/StandardStreams.h"

// SDL.h renames main for SDL's entry layer where the platform needs one.
int main(int /*argc*/, char* /*argv*/[]) {
    // Closed standard descriptors and a buffered log, before any file is opened.
    prepareStandardStreams();
    // One application object for the whole run; its destructor shuts SDL down.
    IntroApp app;
    return app.run();
}
