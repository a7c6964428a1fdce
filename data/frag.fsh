#version 330 core
// Glyph coverage (red channel of the atlas) becomes the opacity of a warm
// white over the background.
in vec2 atlasCoord;

uniform sampler2D tex;

out vec4 fragColor;

void main() {
    float coverage = texture(tex, atlasCoord).r;
    fragColor = vec4(1.0, 0.95, 0.86, coverage);
}
