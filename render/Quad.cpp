#include "render/Quad.h"

#include <cstdio>

// clang-format off
const float quadCorners[12] = {
    -1.0f,  1.0f,   1.0f,  1.0f,   1.0f, -1.0f, // upper-right triangle
     1.0f, -1.0f,  -1.0f, -1.0f,  -1.0f,  1.0f, // lower-left triangle
};
// clang-format on

namespace {

const char* fileNameOnly(const char* path) {
    const char* name = path;
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '/' || *c == '\\') {
            name = c + 1;
        }
    }
    return name;
}

// One glGetError per site: it reports and clears at most one pending error,
// so back-to-back sites report further pending errors one each. The report
// does not translate the code.
void checkGlError(const char* file, int line) {
    if (glGetError() != GL_NO_ERROR) {
        std::printf("glError in file %s @ line %d: %s\n", fileNameOnly(file), line, "XX");
    }
}

} // namespace

// Every site stands on a line of its own, so each report names its site.
#define GL_CHECK_SITE() checkGlError(__FILE__, __LINE__)

Quad::Quad(ShaderProgram* backgroundProgram) {
    GL_CHECK_SITE();
    glGenBuffers(1, &vertexBuffer);
    glGenVertexArrays(1, &vertexArray);

    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quadCorners), quadCorners, GL_STATIC_DRAW);

    program = backgroundProgram;
    positionLocation = glGetAttribLocation(program->programId, "position");
    glVertexAttribPointer(static_cast<GLuint>(positionLocation), 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    glBindVertexArray(0);
    GL_CHECK_SITE();
}

void Quad::draw() {
    glBindVertexArray(vertexArray);
    // Index 0, not positionLocation: the background vertex shader keeps
    // "position" at location 0.
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    GL_CHECK_SITE();
    glUseProgram(program->programId);
    GL_CHECK_SITE();
    GL_CHECK_SITE();
    GL_CHECK_SITE();
    glDrawArrays(GL_TRIANGLES, 0, 6);
    GL_CHECK_SITE();
    GL_CHECK_SITE();
    glBindVertexArray(0);
    GL_CHECK_SITE();
}
