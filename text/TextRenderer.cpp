#include "text/TextRenderer.h"

#include "text/FontRecord.h"
#include "text/TextLayout.h"

void drawText(const std::string& text, GLuint program, GLuint texture, GLuint sampler,
              GLuint vertexArray, GLuint vertexBuffer, GLint texLocation, float scaleDivX,
              float scaleDivY, float penX, float baselineY) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The texture has no parameters of its own; the sampler's filtering and
    // wrapping make the single level complete.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, static_cast<GLsizei>(fontRecord.atlasWidth),
                 static_cast<GLsizei>(fontRecord.atlasHeight), 0, GL_RED, GL_UNSIGNED_BYTE,
                 fontRecord.atlas);
    glBindSampler(0, sampler);
    glBindVertexArray(vertexArray);
    glEnableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glUseProgram(program);
    glUniform1i(texLocation, 0);

    const float sx = modelUnitsPerPixel(scaleDivX);
    const float sy = modelUnitsPerPixel(scaleDivY);
    layoutText(fontRecord, text, sx, sy, penX, baselineY, [](const GlyphQuad& quad) {
        glBufferData(GL_ARRAY_BUFFER, sizeof quad.vertices, quad.vertices, GL_DYNAMIC_DRAW);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    });

    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    glDisableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
