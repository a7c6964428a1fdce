#version 330 core
// Glyph coverage (red channel of the atlas) becomes the opacity of a warm
// white over the background.
//
// The atlas holds 28-pixel glyphs and the show magnifies them, several times
// over in a greeting or a large frame, so filtered coverage would spread each
// edge over as many screen pixels as a texel covers. Coverage is read instead
// as a distance-like field whose half level is the glyph's outline: its change
// per screen pixel sets how steeply the opacity rises across that level, so
// every edge is about one pixel wide at any size. Where the field already
// changes by a whole unit within a pixel (glyphs at about the atlas's own
// size or smaller) it is used as the coverage itself.
//
// The field is the atlas under a cubic B-spline rather than linear filtering:
// linear filtering bends its half level at every texel border, which sharp
// edges show as lumpy outlines. The B-spline's sixteen texels come from four
// linear fetches, each placed between two texels by their weights' ratio; its
// width also softens the aliasing of glyphs drawn smaller than the atlas,
// which has no mipmaps.
in vec2 atlasCoord;

uniform sampler2D tex;

out vec4 fragColor;

float smoothCoverage(vec2 coord) {
    vec2 size = vec2(textureSize(tex, 0));
    vec2 texel = coord * size - 0.5;
    vec2 base = floor(texel);
    vec2 f = texel - base;
    // Weights of the texels at base - 1, base, base + 1 and base + 2.
    vec2 w0 = (1.0 - f) * (1.0 - f) * (1.0 - f) / 6.0;
    vec2 w1 = (4.0 - 6.0 * f * f + 3.0 * f * f * f) / 6.0;
    vec2 w3 = f * f * f / 6.0;
    vec2 lowWeight = w0 + w1;
    vec2 highWeight = 1.0 - lowWeight;
    vec2 low = (base - 0.5 + w1 / lowWeight) / size;
    vec2 high = (base + 1.5 + w3 / highWeight) / size;
    return lowWeight.y * (lowWeight.x * texture(tex, low).r +
                          highWeight.x * texture(tex, vec2(high.x, low.y)).r) +
           highWeight.y * (lowWeight.x * texture(tex, vec2(low.x, high.y)).r +
                           highWeight.x * texture(tex, high).r);
}

void main() {
    float coverage = smoothCoverage(atlasCoord);
    // Inside and outside a glyph the field is flat; the floor keeps the
    // division finite there, where the opacity is 0 or 1 anyway.
    float changePerPixel = max(length(vec2(dFdx(coverage), dFdy(coverage))), 1e-3);
    float steepness = max(1.0 / changePerPixel, 1.0);
    float opacity = clamp(0.5 + (coverage - 0.5) * steepness, 0.0, 1.0);
    fragColor = vec4(1.0, 0.95, 0.86, opacity);
}
