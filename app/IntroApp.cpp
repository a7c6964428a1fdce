#include "app/IntroApp.h"

#include "app/AudioCallback.h"
#include "app/DataPath.h"
#include "app/DebugOutput.h"
#include "app/ShowClock.h"
#include "app/ShowScript.h"
#include "app/StartupFailure.h"
#include "app/VideoDriver.h"
#include "audio/MusicPlayback.h"
#include "base/ShowConstants.h"
#include "render/SceneTransforms.h"
#include "render/Viewport.h"
#include "text/TextRenderer.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

#include <cstdio>
#include <string>

namespace {

#ifdef __EMSCRIPTEN__
// In the browser the page fits the canvas to its window and has a key of its
// own for full screen; a request from here would only be carried out at some
// later key press.
constexpr Uint32 windowMode = 0;
#else
constexpr Uint32 windowMode = SDL_WINDOW_FULLSCREEN;
#endif

} // namespace

bool endsShow(const SDL_Event& event) {
    return event.type == SDL_QUIT ||
           (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
}

IntroApp::~IntroApp() {
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    // Stops the audio thread before anything the callback reads goes away.
    SDL_Quit();
    quad.reset();
    backgroundProgram.reset();
    textProgram.reset();
    // With the audio thread gone, nothing reads the decoder any more.
    if (decoder != nullptr) {
        stb_vorbis_close(decoder);
    }
}

int IntroApp::init() {
    // SDL: the seven subsystems the show names (0x7231). Newer SDLs add the
    // sensor subsystem to SDL_INIT_EVERYTHING, which on Windows starts a sensor
    // manager the show never uses, so the flags are spelled out.
    if (SDL_Init(showSubsystems) < 0) {
        std::fprintf(stderr, "SDL_Init() failed: %s\n", SDL_GetError());
        return 1;
    }
    // With no display SDL falls back to a driver that draws nowhere.
    const char* videoDriver = SDL_GetCurrentVideoDriver();
    if (videoDriverShowsNothingUnasked(videoDriver, SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
        reportStartupFailure("No display", noDisplayReason(videoDriver, SDL_getenv("DISPLAY")));
        return 1;
    }

    // The full-screen window, then the context it will get.
    window =
        SDL_CreateWindow(windowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                         windowHeight, windowMode | SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    requestGlContextVersion();
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (window == nullptr) {
        reportStartupFailure("Couldn't create the window", SDL_GetError());
        return 1;
    }
    // No pointer over a full-screen show; SDL gives it back when the window goes.
    SDL_ShowCursor(SDL_DISABLE);

    // The OpenGL 3.3 core context (OpenGL ES 3.0 in the browser).
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        reportStartupFailure("Couldn't create an OpenGL 3.3 core context", SDL_GetError());
        return 1;
    }

    // GL entry points beyond 1.1. A failure is reported, and start-up goes on
    // as long as the functions the show calls are there.
    if (!loadGlEntryPoints()) {
        return 1;
    }

    // GL's first viewport is the drawable's whole size; the picture keeps
    // its shape in a window that did not get the size it asked for.
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    if (drawableWidth != windowWidth || drawableHeight != windowHeight) {
        fitDrawable(drawableWidth, drawableHeight);
    }

    // A core context refuses this query and leaves GL_INVALID_ENUM pending;
    // the quad's first check site reports it.
    writeDebuggerOutput(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));

    // GL objects of the text pass.
    glGenBuffers(1, &textVertexBuffer);
    glGenVertexArrays(1, &textVertexArray);
    glGenTextures(1, &fontTexture);
    glGenSamplers(1, &fontSampler);
    glSamplerParameteri(fontSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(fontSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(fontSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(fontSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    // SDL_GL_CreateContext already made the context current, which is why
    // the objects above could be made in it. This call changes nothing; it
    // stands after them because start-up's calls keep their fixed order.
    SDL_GL_MakeCurrent(window, context);

    // Text program and its uniforms.
    bool reportedNoBasePath = false;
    const std::string textVertexPath = dataFilePath("/vert.vsh", reportedNoBasePath);
    const std::string textFragmentPath = dataFilePath("/frag.fsh", reportedNoBasePath);
    textProgram = std::make_unique<ShaderProgram>(textVertexPath.c_str(), textFragmentPath.c_str());
    texLocation = glGetUniformLocation(textProgram->programId, "tex");
    mvpLocation = glGetUniformLocation(textProgram->programId, "mvp");

    // Background program, its quad and its clock uniform.
    const std::string backgroundVertexPath = dataFilePath("/heart.vsh", reportedNoBasePath);
    const std::string backgroundFragmentPath = dataFilePath("/heart.fsh", reportedNoBasePath);
    backgroundProgram = std::make_unique<ShaderProgram>(backgroundVertexPath.c_str(),
                                                        backgroundFragmentPath.c_str());
    quad = std::make_unique<Quad>(backgroundProgram.get());
    timeLocation = glGetUniformLocation(backgroundProgram->programId, "time");

    // The fixed camera.
    view = cameraView();
    projection = cameraProjection();

    // Music: the decoder, then the audio device that pulls from it.
    decoder = openMusic(dataFilePath("/dancing.ogg", reportedNoBasePath));
    return startAudio(audioCallback, this);
}

int IntroApp::run() {
    const int result = init();
    if (result != 0) {
        return result;
    }
    running = true;
    do {
        advanceFrame();
    } while (running);
    return 0;
}

void IntroApp::advanceFrame() {
    // Drain every pending event; a quit still lets this frame be drawn.
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (endsShow(event)) {
            running = false;
        }
        // A full-screen window can get another size than the one asked
        // for, now or later: the picture follows, at its own shape.
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            fitWindow();
        }
        // The device went away under the show (unplugged, or its output
        // failed): the callback is no longer called and the show goes on in
        // silence, which the user should hear about rather than guess.
        if (event.type == SDL_AUDIODEVICEREMOVED && event.adevice.iscapture == 0) {
            std::fprintf(stderr, "Lost the audio device; the show goes on in silence\n");
        }
    }
    showClock = showClockFromTicks(SDL_GetTicks());
    renderFrame();
}

void IntroApp::fitDrawable(int drawableWidth, int drawableHeight) {
    const ViewportRect picture = fitViewport(drawableWidth, drawableHeight);
    glViewport(picture.x, picture.y, picture.width, picture.height);
}

void IntroApp::fitWindow() {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    fitDrawable(width, height);
}

void IntroApp::renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Background pass.
    glUseProgram(backgroundProgram->programId);
    glUniform1f(timeLocation, showClock);
    quad->draw();

    // Text pass: blending stays on from the first frame to the last.
    glUseProgram(textProgram->programId);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const glm::mat4 mvp = modelViewProjection(projection, view, textModel());
    glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, &mvp[0][0]);

    // At most one text item, chosen by the show clock.
    if (const std::optional<TextItem> item = textItemAt(showClock)) {
        drawText(*item->text, textProgram->programId, fontTexture, fontSampler, textVertexArray,
                 textVertexBuffer, texLocation, item->scaleDivX, item->scaleDivY, item->penX,
                 item->baselineY);
    }

    SDL_GL_SwapWindow(window);
}
