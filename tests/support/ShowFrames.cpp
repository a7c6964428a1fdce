// Renders the show in-process at chosen show times and writes each frame as
// a PNG, for looking at the picture.
//
//   velmora_frames OUTPUT_DIR TIME [TIME...]
//
// Runs beside the data files (it is built next to the velmora executable)
// and needs a display; audio goes to SDL's dummy driver.
#include "app/IntroApp.h"
#include "base/ShowConstants.h"

#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR TIME [TIME...]\n", argv[0]);
        return 2;
    }
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    IntroApp app;
    if (app.init() != 0) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    // Two frames per time: from the second frame on, blending is on for the
    // background too, which is the look of the running show.
    std::vector<unsigned char> pixels(windowWidth * windowHeight * 3);
    for (int i = 2; i < argc; ++i) {
        app.showClock = std::strtof(argv[i], nullptr);
        app.renderFrame();
        app.renderFrame();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        const std::string path = std::string(argv[1]) + "/frame-" + argv[i] + ".png";
        stbi_flip_vertically_on_write(1);
        if (stbi_write_png(path.c_str(), windowWidth, windowHeight, 3, pixels.data(),
                           windowWidth * 3) == 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
