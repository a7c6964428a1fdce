#include "GlContext.h"

GlContext::GlContext() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        failureText = std::string("SDL_Init: ") + SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    window =
        SDL_CreateWindow("velmora gl tests", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        failureText = std::string("SDL_CreateWindow: ") + SDL_GetError();
        return;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        failureText = std::string("SDL_GL_CreateContext: ") + SDL_GetError();
        return;
    }
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        failureText = "glewInit failed";
    }
    drainGlErrors();
}

GlContext::~GlContext() {
    if (context != nullptr) {
        SDL_GL_DeleteContext(context);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_Quit();
}

void drainGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}
