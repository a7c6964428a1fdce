#pragma once
// Draws a string with the compiled-in font as one textured quad and one
// draw call per character that has a glyph, on the text plane of the
// camera's "mvp" matrix.
//
// The caller has made the GL context current, uploaded "mvp" to the text
// program and set blending. Every call specifies the font atlas anew on
// `texture`, binds `sampler` to unit 0, binds `vertexArray` and
// `vertexBuffer` and makes `program` current. Afterwards no program is
// current and no texture or array buffer is bound; the vertex array stays
// bound, the sampler stays on unit 0 and polygons stay filled.
//
// Bytes without a glyph (controls, 127, 0x80-0xFE) draw nothing and leave
// the pen; 0xFF draws the zero-area solid glyph. Nothing is reported: GL
// errors are left to the caller. Divisors must not be 0. Main thread only.
#include "render/GlApi.h"

#include <string>

void drawText(const std::string& text, GLuint program, GLuint texture, GLuint sampler,
              GLuint vertexArray, GLuint vertexBuffer, GLint texLocation, float scaleDivX,
              float scaleDivY, float penX, float baselineY);
