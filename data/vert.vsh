#version 330 core
// Glyph quads on the text plane: x, y in model units, s, t in the font atlas.
layout(location = 0) in vec4 glyphVertex;

uniform mat4 mvp;

out vec2 atlasCoord;

void main() {
    atlasCoord = glyphVertex.zw;
    gl_Position = mvp * vec4(glyphVertex.xy, 0.0, 1.0);
}
