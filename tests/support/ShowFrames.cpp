// Renders the show in-process at chosen show times and writes each frame as
// a PNG, for looking at the picture.
//
//   velmora_frames [--size WxH] OUTPUT_DIR TIME [TIME...]
//
// Without --size the frames are the 800x600 window's, read back after the
// swap (frame-TIME.png). With it they are drawn off-screen at that size, the
// picture in its largest centred 4:3 rectangle as in a window of that size
// (frame-TIME-WxH.png); a size GL cannot make a framebuffer of is refused.
//
// Runs beside the data files (it is built next to the velmora executable)
// and needs a display; audio goes to SDL's dummy driver.
#include "OffscreenFrame.h"
#include "app/IntroApp.h"
#include "base/ShowConstants.h"

#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    int width = windowWidth;
    int height = windowHeight;
    bool sized = false;
    int firstArgument = 1;
    if (argc > 2 && std::strcmp(argv[1], "--size") == 0) {
        char end = 0;
        if (std::sscanf(argv[2], "%dx%d%c", &width, &height, &end) != 2 || width < 1 ||
            height < 1) {
            std::fprintf(stderr, "%s: --size wants WxH in pixels\n", argv[0]);
            return 2;
        }
        sized = true;
        firstArgument = 3;
    }
    if (argc - firstArgument < 2) {
        std::fprintf(stderr, "usage: %s [--size WxH] OUTPUT_DIR TIME [TIME...]\n", argv[0]);
        return 2;
    }
    const std::string outputDir = argv[firstArgument];
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
    IntroApp app;
    if (app.init() != 0) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    std::unique_ptr<OffscreenFrame> offscreen;
    if (sized) {
        offscreen = std::make_unique<OffscreenFrame>(width, height);
        if (!offscreen->complete()) {
            std::fprintf(stderr, "no framebuffer of %dx%d\n", width, height);
            return 1;
        }
        offscreen->bind();
    }
    const std::string sizeSuffix =
        sized ? "-" + std::to_string(width) + "x" + std::to_string(height) : "";
    // Two frames per time: from the second frame on, blending is on for the
    // background too, which is the look of the running show.
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) *
                                      static_cast<std::size_t>(height) * 3);
    for (int i = firstArgument + 1; i < argc; ++i) {
        app.showClock = std::strtof(argv[i], nullptr);
        app.renderFrame();
        app.renderFrame();
        if (offscreen) {
            pixels = offscreen->readRgb();
        } else {
            glReadBuffer(GL_BACK);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        }
        const std::string path = outputDir + "/frame-" + argv[i] + sizeSuffix + ".png";
        stbi_flip_vertically_on_write(1);
        if (stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3) == 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
