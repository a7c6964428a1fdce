#pragma once
// A hidden SDL window with an OpenGL 3.3 core context for tests that need
// real GL. Needs a display (scripts/test provides Xvfb when there is none).
#include <GL/glew.h>
#include <SDL.h>

#include <string>

class GlContext {
public:
    GlContext();
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool ready() const { return context != nullptr; }
    const std::string& failure() const { return failureText; }

private:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    std::string failureText;
};

// Clears every pending GL error so a test starts from a clean slate.
void drainGlErrors();
