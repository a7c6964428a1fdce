#include "render/GlApi.h"

#include <SDL.h>

#include <array>
#include <cstdio>

#ifdef __EMSCRIPTEN__

void requestGlContextVersion() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
}

bool loadGlEntryPoints() {
    return true;
}

#else

void requestGlContextVersion() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
}

namespace {

struct EntryPoint {
    const char* name;
    bool loaded;
};

EntryPoint entryPoint(const char* name, bool loaded) {
    return {name, loaded};
}

// GLEW's names are macros for its function pointers; the name is taken
// before expansion.
#define VELMORA_ENTRY_POINT(function) entryPoint(#function, function != nullptr)

// The first function beyond OpenGL 1.1 that the show calls and GLEW has not
// loaded, or null.
const char* firstMissingEntryPoint() {
    const std::array entryPoints = {
        VELMORA_ENTRY_POINT(glActiveTexture),
        VELMORA_ENTRY_POINT(glAttachShader),
        VELMORA_ENTRY_POINT(glBindBuffer),
        VELMORA_ENTRY_POINT(glBindSampler),
        VELMORA_ENTRY_POINT(glBindVertexArray),
        VELMORA_ENTRY_POINT(glBufferData),
        VELMORA_ENTRY_POINT(glCompileShader),
        VELMORA_ENTRY_POINT(glCreateProgram),
        VELMORA_ENTRY_POINT(glCreateShader),
        VELMORA_ENTRY_POINT(glDeleteShader),
        VELMORA_ENTRY_POINT(glDetachShader),
        VELMORA_ENTRY_POINT(glDisableVertexAttribArray),
        VELMORA_ENTRY_POINT(glEnableVertexAttribArray),
        VELMORA_ENTRY_POINT(glGenBuffers),
        VELMORA_ENTRY_POINT(glGenSamplers),
        VELMORA_ENTRY_POINT(glGenVertexArrays),
        VELMORA_ENTRY_POINT(glGetAttribLocation),
        VELMORA_ENTRY_POINT(glGetProgramInfoLog),
        VELMORA_ENTRY_POINT(glGetProgramiv),
        VELMORA_ENTRY_POINT(glGetShaderInfoLog),
        VELMORA_ENTRY_POINT(glGetShaderiv),
        VELMORA_ENTRY_POINT(glGetUniformLocation),
        VELMORA_ENTRY_POINT(glLinkProgram),
        VELMORA_ENTRY_POINT(glSamplerParameteri),
        VELMORA_ENTRY_POINT(glShaderSource),
        VELMORA_ENTRY_POINT(glUniform1f),
        VELMORA_ENTRY_POINT(glUniform1i),
        VELMORA_ENTRY_POINT(glUniformMatrix4fv),
        VELMORA_ENTRY_POINT(glUseProgram),
        VELMORA_ENTRY_POINT(glVertexAttribPointer),
    };
    for (const EntryPoint& entryPoint : entryPoints) {
        if (!entryPoint.loaded) {
            return entryPoint.name;
        }
    }
    return nullptr;
}

} // namespace

bool loadGlEntryPoints() {
    glewExperimental = GL_TRUE;
    const GLenum glewResult = glewInit();
    if (glewResult != GLEW_OK) {
        std::fprintf(stderr, "Error: %s\n", glewGetErrorString(glewResult));
    }
    if (const char* missing = firstMissingEntryPoint()) {
        std::fprintf(stderr, "No OpenGL 3.3: %s is missing\n", missing);
        return false;
    }
    return true;
}

#endif
