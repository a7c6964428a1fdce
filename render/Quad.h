#pragma once
#include "render/GlApi.h"
#include "render/ShaderProgram.h"

// The full-screen background: one rectangle over the whole window, as two
// triangles in clip space, drawn with the background program.
//
// GL errors are looked for at nine fixed check sites in the constructor and
// in draw(). Each site calls glGetError once and, for an error, prints one
// line on standard output:
//   "glError in file Quad.cpp @ line <line of the site>: XX"
// so an error left pending by earlier GL work is reported by the first site
// that follows it. Reports never change the flow.
//
// The buffer and vertex array are not deleted: they live as long as the GL
// context. Main thread only, with the GL context current.
class Quad {
public:
    ShaderProgram* program = nullptr; // not owned
    GLint positionLocation = -1;
    GLuint vertexBuffer = 0;
    GLuint vertexArray = 0;

    // Uploads the corner table and points the program's "position" attribute
    // at it. A program without "position" gets location -1; the pointer set-up
    // then fails and the constructor's last check site reports it.
    explicit Quad(ShaderProgram* backgroundProgram);

    // Draws the rectangle. The caller has made the background program current
    // and set its uniforms; on return it is still current and the quad's
    // buffer is still bound to GL_ARRAY_BUFFER.
    void draw();
};
