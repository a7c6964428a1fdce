#pragma once
// The application object: owns the window, the GL objects of both passes,
// the camera, the show clock and the music decoder for the whole run.
//
// Threads: everything here runs on the main thread, except audioCallback,
// which reads `decoder` on SDL's audio thread; app/AudioCallback.h holds the
// contract that makes that safe.

#include "render/GlApi.h"
#include "render/Quad.h"
#include "render/ShaderProgram.h"

#include <SDL.h>
#include <glm/mat4x4.hpp>

#include <memory>

struct stb_vorbis;

// The SDL subsystems the show starts: timer, audio, video, joystick, haptic,
// game controller and events.
constexpr Uint32 showSubsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO |
                                  SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER |
                                  SDL_INIT_EVENTS;

// True for the events that end the show: a quit request (window close) or
// an Escape key-down, auto-repeats included.
bool endsShow(const SDL_Event& event);

class IntroApp {
public:
    bool running = false;
    SDL_Window* window = nullptr;
    std::unique_ptr<ShaderProgram> textProgram;
    std::unique_ptr<ShaderProgram> backgroundProgram;
    GLuint textVertexBuffer = 0;
    GLuint textVertexArray = 0;
    GLint texLocation = 0;
    GLuint fontTexture = 0;
    GLuint fontSampler = 0;
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    float showClock = 0.0f;
    GLint mvpLocation = 0;
    GLint timeLocation = 0;
    stb_vorbis* decoder = nullptr;
    std::unique_ptr<Quad> quad;

    // Makes no SDL or GL call.
    IntroApp() = default;
    // Destroys the window, shuts SDL down (which stops the audio thread), then
    // frees the quad and the two programs.
    ~IntroApp();
    IntroApp(const IntroApp&) = delete;
    IntroApp& operator=(const IntroApp&) = delete;

    // Brings up SDL, the window (hiding the pointer over it), the GL context,
    // both programs, the quad, the camera and the music. Returns 0 on success,
    // 1 when SDL, the window or the GL context cannot be set up (no display,
    // or GL functions the show calls missing), -1 when the audio device cannot
    // be opened. Shader-file, GLEW and GL-error problems are otherwise printed
    // and start-up goes on.
    int init();

    // Runs init(), then draws frames until Escape or a window close. Returns
    // init()'s result when that is not 0, otherwise 0.
    int run();

    // One turn of the main loop: handles the pending events (clearing
    // `running` on Escape or a window close), sets the show clock from SDL's
    // ticks and draws the frame. The browser, which paces frames itself,
    // calls it once per frame after init() (app/web/WebMain.cpp).
    void advanceFrame();

    // Draws one frame of the show at `showClock` and presents it.
    void renderFrame();

    // Fits the picture to a drawable of this size, in pixels: the largest
    // centred 4:3 rectangle (render/Viewport.h), the rest black. Called when
    // the window's size changes, and by the browser when its canvas does.
    void fitDrawable(int drawableWidth, int drawableHeight);

private:
    void fitWindow();
};
