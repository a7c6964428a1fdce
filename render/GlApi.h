#pragma once
// The GL the show draws with, and the two start-up steps that depend on it.
// On the desktop: OpenGL 3.3 core, with the entry points beyond 1.1 loaded by
// GLEW. In the browser (__EMSCRIPTEN__): OpenGL ES 3.0, which the browser
// provides as WebGL2 and which is linked directly, so there is nothing to
// load. Everything else draws with the calls both have in common.
//
// Main thread only.

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>

// WebGL2 only fills polygons; the text pass asks for exactly that.
#define GL_FILL 0x1B02
inline void glPolygonMode(GLenum /*face*/, GLenum /*mode*/) {}
#else
#include <GL/glew.h>
#endif

// Sets the SDL attributes of the GL context to create: version and profile.
// Call after SDL_Init, before SDL_GL_CreateContext. Cannot fail.
void requestGlContextVersion();

// With the context current, makes the GL entry points callable. A failure of
// the loader is printed as "Error: <reason>" on standard error and start-up
// goes on. Returns false only when a function the show calls is still
// missing, after printing "No OpenGL 3.3: <function> is missing" there:
// calling it would go through a null pointer.
bool loadGlEntryPoints();
