#pragma once
#include "render/GlApi.h"

// One GL program built from a vertex and a fragment shader file.
//
// The constructor does the whole build and prints its progress and the
// driver's logs to standard output:
//   "Compiling shader : <vertex path>", the vertex log if any,
//   "Compiling shader : <fragment path>", the fragment log if any,
//   "Linking program", the link log if any.
// Compile and link results are not tested: the logs are the diagnostics and
// `programId` holds the program whether or not it linked.
//
// Failure results (a path that is not a regular file, a FIFO or a folder,
// cannot be opened; a file over maxShaderFileBytes is refused with the line
// "Shader file <path> is over 1 MiB; not read" and then counts as one that
// cannot be opened):
// - vertex file cannot be opened: prints "Impossible to open <path>. ...",
//   waits for one character on standard input (so a console user sees the
//   message; not in the browser, where that would stop the page), builds
//   nothing and leaves `programId` 0;
// - fragment file cannot be opened: no message; the fragment shader is
//   compiled from empty text and the program does not link.
//
// Destroying the object makes no GL call; the program lives as long as the
// GL context. Main thread only, with a GL 3.3 core context current (OpenGL
// ES 3.0 in the browser, where the lines are joined starting with the first:
// see render/ShaderSource.h).
#include <cstdint>

// Far above any real shader (the show's largest is 15 KB); a driver given a
// file of hundreds of megabytes holds the window frozen for many seconds.
constexpr std::uintmax_t maxShaderFileBytes = 1u << 20;

class ShaderProgram {
public:
    GLuint programId = 0;

    ShaderProgram(const char* vertexPath, const char* fragmentPath);
};
