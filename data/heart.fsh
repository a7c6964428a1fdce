#version 330 core
// The background: a heart that beats with the music's kick, on a dark stage.
//
// heart.vsh works out everything that depends on "time" alone (the story of
// the cycle, the beat, the colours of the light) and passes it on as flat
// values; this stage does only what depends on the pixel's place.
//
// It is written for the software rasteriser, which runs it for every pixel
// of every frame, eight pixels at a time, and runs every line of it for all
// of them: a branch skips nothing there, so there are none, and every
// effect is paid for on every pixel. Hence the frugal style: divisions by
// constants written as multiplications, falloffs and waves from the cheap
// exp and sine below, angles from complex powers rather than atan, and all
// the heart-shaped waves from one exponential.

in vec2 screenPosition; // -1..1 across and up the window

// From heart.vsh, the same for every pixel of a frame (unpacked in main).
flat in vec4 lightAndSize;
flat in vec4 stageNearAndFill;
flat in vec4 stageFarAndNames;
flat in vec4 ringAndRays;
flat in vec4 moteAndRise;
flat in vec4 glowAndSway;
flat in vec4 litAndTwinkle;
flat in vec4 shadedAndSurface;
flat in vec4 glassAndMeniscus;
flat in vec4 shineAndTraced;
flat in vec4 rimAndStroke;
flat in vec4 wavesBeyond;
flat in vec4 wavesWithin;
flat in vec4 turnAndScale;

out vec4 fragColor;

const float TAU = 6.28318531;
const float ASPECT = 4.0 / 3.0; // the window is 800 x 600
const float LOG2_E = 1.44269504;
const float SQRT_HALF = 0.70710678;

// ---- The heart ----------------------------------------------------------
const float HEART_LIFT = 0.5936; // heart space's height of the screen's middle: 0.56 x 1.06
const float LOBE_RADIUS = 0.35355339; // sqrt(2) / 4
const vec2 LOBE_CENTRE = vec2(0.25, 0.75);
const float MIDLINE_ROUNDING = 0.07; // width over which the two halves meet
const float LOBE_ROUNDING = 0.0025; // squared radius of the rounding at each lobe's centre
const float BLEND = 0.12; // how softly the heart's pieces join under its surface
const float HEART_STRETCH = 1.06; // heart space is this much taller than screen space
const float CUSHION_HEIGHT = 0.12;
const float CUSHION_WIDTH = 0.09; // how far in from the outline it rises
const float RIM_WIDTH = 0.025; // the darker rim inside the outline
const float SHEEN_DEPTH = 0.05; // how far inside the outline the sheen reaches its full strength
const vec2 SHEEN_CENTRE = vec2(-0.24, 0.36); // in heart heights from the screen's centre
const vec2 SHEEN_SPREAD = vec2(3.74165739, 5.98665183); // sqrt(14) across, 1.6 times that upwards
const vec3 LIGHT = vec3(-0.49, 0.59, 0.64); // from the upper left, unit length
const vec3 GLASS_SPECULAR = vec3(0.9, 0.6, 0.7) * 0.25;
const float GLASS = 0.8; // how much of the light the unlit heart still shows (as in heart.vsh)

// ---- The stage ----------------------------------------------------------
const float GLOW_FALLOFF = 7.0; // the glow shines e^(-7 d) at distance d outside the outline
const vec3 RAY_TINT = vec3(0.20, 0.04, 0.16);
const vec2 RAY_CENTRE = vec2(0.0, -0.1);
const vec3 SPARK_TINT = vec3(1.0, 0.85, 0.9); // the sparks along the burst's front
const vec3 STROKE_TINT = vec3(1.0, 0.45, 0.6);

// ---- Motes: specks of light drifting up through the stage ----------------
const float MOTE_CELL = 0.15; // screen units per cell, one mote at most in each
const int MOTE_ROWS = 64; // the field repeats after this many rows (as in heart.vsh)
const float MOTE_SIZE = 0.011;
const float MOTE_SHARE = 0.55; // cells whose seed is below this have no mote

// ---- Room for the names -------------------------------------------------
// While a name shows, nothing behind its line (screen heights NAME_BAND_LOW
// to NAME_BAND_HIGH) grows brighter than NAME_LIGHT, a relative luminance that
// keeps the warm white letters at 3.5:1 or more against it.
const float NAME_BAND_LOW = -0.10;
const float NAME_BAND_HIGH = 0.32;
const float NAME_BAND_EDGE = 0.12; // over which the band fades in and out, beyond its heights
const float NAME_BAND_MIDDLE = 0.5 * (NAME_BAND_LOW + NAME_BAND_HIGH);
const float NAME_BAND_REACH = 0.5 * (NAME_BAND_HIGH - NAME_BAND_LOW) + NAME_BAND_EDGE;
const float NAME_LIGHT = 0.22;
const float UNLIMITED_LIGHT = 100.0; // the limit away from the band, far above any colour
const vec3 LUMINANCE = vec3(0.2126, 0.7152, 0.0722);

// ==== Cheap functions =====================================================

// e^-x for x >= 0, to 2e-3: 2^-x split into its whole part, which goes
// straight into the float's exponent, and its fraction, from a quadratic.
// The software rasteriser's own exp costs about three times as much.
// fadeNear is the same for x below 87, where 2^-x is still a normal float.
float fadeNear(float x) {
    float y = -x * LOG2_E;
    float whole = floor(y);
    float f = y - whole;
    float fraction = 1.0 + f * (0.65571963 + f * 0.34428037);
    return intBitsToFloat(floatBitsToInt(fraction) + (int(whole) << 23));
}
float fade(float x) { return fadeNear(min(x, 87.0)); }

// sin(2 pi x), to 1e-3: x folded into one wave, a parabola through its
// zeros and peaks, then bent towards the sine.
float sinTurns(float x) {
    float y = x - floor(x + 0.5); // -0.5..0.5
    float parabola = 8.0 * y - 16.0 * y * abs(y);
    return parabola + 0.225 * (parabola * abs(parabola) - parabola);
}

// smoothstep's curve, for t already in [0, 1].
float ease(float t) { return t * t * (3.0 - 2.0 * t); }

// smoothstep(start, start + 1 / perWidth, x), without its division.
float rise(float x, float start, float perWidth) {
    return ease(clamp((x - start) * perWidth, 0.0, 1.0));
}

vec2 complexSquare(vec2 a) { return vec2(a.x * a.x - a.y * a.y, 2.0 * a.x * a.y); }

// The imaginary part of the product of complex numbers a and b.
float imaginaryOfProduct(vec2 a, vec2 b) { return a.x * b.y + a.y * b.x; }

// ==== The heart's shape ===================================================

// Signed distance to a heart of height about 1 standing on its tip at the
// origin, symmetric in x (p.x >= 0): two quarter circles meeting a V.
// Negative inside.
float heartDistance(vec2 p) {
    float lobe = sqrt(dot(p - LOBE_CENTRE, p - LOBE_CENTRE)) - LOBE_RADIUS;
    vec2 toTop = p - vec2(0.0, 1.0);
    vec2 toEdge = p - 0.5 * max(p.x + p.y, 0.0);
    float toTop2 = dot(toTop, toTop);
    float toEdge2 = dot(toEdge, toEdge);
    float edge = sqrt(toTop2 < toEdge2 ? toTop2 : toEdge2);
    return p.x + p.y > 1.0 ? lobe : (p.x > p.y ? edge : -edge);
}

// The cushion's height field under the surface, with its gradient: how far
// inside the heart a point of heart space lies, smooth everywhere inside.
// The heart is a diamond (a V capped by two upper edges) joined to two
// round lobes, and the pieces meet through smooth minima and maxima rather
// than the folds of the exact distance. Returns (value, d/dx, d/dy).
vec3 cushionField(vec2 h) {
    // |x|, rounded into a parabola across the middle so the halves meet
    // without a fold, and its slope.
    float across = abs(h.x);
    float x = across < MIDLINE_ROUNDING
                  ? across * across * (0.5 / MIDLINE_ROUNDING) + 0.5 * MIDLINE_ROUNDING
                  : across;
    float xSlope = clamp(h.x * (1.0 / MIDLINE_ROUNDING), -1.0, 1.0);

    // The diamond: the V below, (h.y - x) / sqrt 2, and the upper edges,
    // (1 - h.y - x) / sqrt 2, in a smooth minimum. Their difference depends
    // on the height alone.
    float fromMiddle = h.y - 0.5;
    float distanceFromMiddle = abs(fromMiddle);
    float diamondBlend = max(1.0 - distanceFromMiddle * (1.0 / (SQRT_HALF * BLEND)), 0.0);
    float diamond = (0.5 - distanceFromMiddle - x) * SQRT_HALF -
                    diamondBlend * diamondBlend * (0.25 * BLEND);
    float diamondRise = (1.0 - diamondBlend) * SQRT_HALF;
    vec2 diamondGradient =
        vec2(-xSlope * SQRT_HALF, fromMiddle < 0.0 ? diamondRise : -diamondRise);

    // The lobe: the distance in from its circle, rounded at the centre where
    // a cone would peak.
    vec2 fromCentre = vec2(x, h.y) - LOBE_CENTRE;
    float reach = sqrt(dot(fromCentre, fromCentre) + LOBE_ROUNDING);
    float lobe = sqrt(LOBE_RADIUS * LOBE_RADIUS + LOBE_ROUNDING) - reach;
    vec2 lobeGradient = vec2(-fromCentre.x * xSlope, -fromCentre.y) * (1.0 / reach);

    // A smooth maximum of the two.
    float gap = diamond - lobe;
    float blend = max(1.0 - abs(gap) * (1.0 / BLEND), 0.0);
    float value = (gap > 0.0 ? diamond : lobe) + blend * blend * (0.25 * BLEND);
    float towardsLobe = gap > 0.0 ? 0.5 * blend : 1.0 - 0.5 * blend;
    return vec3(value, mix(diamondGradient, lobeGradient, towardsLobe));
}

// ==== The stage's pieces ==================================================

// Four pseudo-random numbers in [0, 1] for a cell, from one integer hash
// (a multiply-xorshift): a byte of it each.
vec4 cellRandom(ivec2 cell) {
    uint n = uint(cell.x) * 0x27d4eb2du ^ uint(cell.y) * 0x165667b1u;
    n ^= n >> 15;
    n *= 0x2c1b3c6du;
    n ^= n >> 12;
    return vec4(uvec4(n, n >> 8, n >> 16, n >> 24) & 255u) * (1.0 / 255.0);
}

// The mote field at screen point p: one mote in some cells of a grid that
// has risen `risen` cells, swaying by `sway` turns. The cells repeat after
// MOTE_ROWS rows, which the field rises in a cycle, so it is the same after
// the wrap. The caller finishes the mote: its halo is e^-spread, and it
// twinkles around its own phase.
struct Mote {
    float spread;
    float phase; // in turns
    float strength; // 0 in the cells without a mote
};

Mote moteAt(vec2 p, float risen, float sway) {
    vec2 q = vec2(p.x * (1.0 / MOTE_CELL), p.y * (1.0 / MOTE_CELL) - risen);
    vec2 whole = floor(q);
    ivec2 cell = ivec2(whole) & ivec2(-1, MOTE_ROWS - 1); // rows repeat; a power of two
    vec4 random = cellRandom(cell);
    float seed = random.x;
    Mote mote;
    mote.phase = random.y;
    // Swaying, but kept far enough inside its cell for the halo to fade there.
    vec2 centre = vec2(0.3 + 0.4 * random.z + 0.1 * sinTurns(sway + mote.phase),
                       0.3 + 0.4 * random.w);
    vec2 offset = q - whole - centre; // in cells
    // A size from 0.6 to 1.4 MOTE_SIZE; what the spread needs is one over
    // its square (0.51 to 2.78), which is drawn directly from the seed's
    // low bits rather than from a size that would then cost a division.
    const float spreadPerCell = 0.5 * (MOTE_CELL / MOTE_SIZE) * (MOTE_CELL / MOTE_SIZE);
    mote.spread = dot(offset, offset) * spreadPerCell * (0.51 + 2.27 * fract(seed * 8.0));
    // Cells with seeds below MOTE_SHARE stay dark.
    mote.strength = max(seed - MOTE_SHARE, 0.0) * (1.0 / (1.0 - MOTE_SHARE));
    return mote;
}

// Dims `colour` so that its relative luminance stays under `limit`, softly:
// luminance L becomes L / (1 + (L / limit)^4)^(1/4), which leaves the
// darker colours nearly as they are and keeps the shading of what it dims.
// Squaring stands in for the sRGB curve: it reads a little brighter, so it
// errs on the safe side.
vec3 limitLuminance(vec3 colour, float limit) {
    float share = dot(colour * colour, LUMINANCE) / limit;
    share *= share;
    return colour * inversesqrt(sqrt(sqrt(1.0 + share * share)));
}

// A dither that stays put from frame to frame, against bands in the dark
// gradients: an ordered 2 x 2 pattern, repeating, of -3/8, -1/8, 1/8 and 3/8
// of a step of the 8-bit output. On the 800 x 600 window, 200 x and 225 y
// are half the pixel column and three quarters of the pixel row, up to
// whole numbers, and the pixel centres' halves give the eighths. (From the
// screen position rather than gl_FragCoord: on the software rasteriser that
// costs a third as much.)
float ditherAt(vec2 screen) {
    return fract(dot(screen, vec2(200.0, 225.0))) - 0.5;
}

void main() {
    // ---- What heart.vsh worked out for this frame -----------------------
    vec3 bright = lightAndSize.rgb; // the colour of the light
    float size = lightAndSize.a; // the heart's height
    float inverseSize = wavesWithin.a;
    float fill = stageNearAndFill.a; // the light's level in the heart, in heart space
    float greetingsOn = stageFarAndNames.a;
    float traced = shineAndTraced.a;
    vec2 rayTurn = turnAndScale.xy;

    vec2 p = vec2(screenPosition.x * ASPECT, screenPosition.y);
    float radius = length(p);

    // ==== The heart's shape ==============================================
    // Heart space: the tip at the origin, the lobes' top near 1.
    vec2 h = vec2(p.x * inverseSize, p.y * turnAndScale.z + HEART_LIFT);
    float d = heartDistance(vec2(abs(h.x), h.y)) * size;
    float pixel = fwidth(d);
    float inside = ease(clamp(0.5 - 0.5 * d / pixel, 0.0, 1.0));
    float outside = 1.0 - inside;

    // The stage and the heart's body both show only along the outline.
    // Where the body alone shows, the exponentials and the sine that the
    // stage needs work for the body instead, so that each is paid for once;
    // along the outline they work for the stage, and the body, which shows
    // there only as its rim, makes do with their values.
    bool bodyOnly = d < -pixel;

    // ==== The cushion =====================================================
    // A rounded cushion lit from the upper left, its normal from the
    // cushion's slope, which is smooth everywhere.
    vec3 field = cushionField(h);
    float depth = field.x * size; // in screen units
    // Shared: the cushion's height falls off as e^(-depth / CUSHION_WIDTH),
    // the glow around the outline as e^(-7 d).
    float falloff = fadeNear(bodyOnly ? max(depth, 0.0) * (1.0 / CUSHION_WIDTH)
                                      : max(d, 0.0) * GLOW_FALLOFF);
    // Heart space is screen space scaled by 1 / size, and stretched upwards.
    vec2 slope = field.yz * vec2(1.0, HEART_STRETCH) *
                 (depth > 0.0 ? falloff * (CUSHION_HEIGHT / CUSHION_WIDTH) : 0.0);
    // The normal is (-slope, 1) / its length.
    float normalZ = inversesqrt(1.0 + dot(slope, slope));
    float facing = (LIGHT.z - dot(slope, LIGHT.xy)) * normalZ;
    float diffuse = max(facing, 0.0);
    // The reflected light's share towards the viewer, to the 24th power.
    float specular = max(2.0 * facing * normalZ - LIGHT.z, 0.0);
    float specular2 = specular * specular;
    float specular8 = specular2 * specular2;
    specular8 *= specular8;
    float specular16 = specular8 * specular8;
    specular = specular16 * specular8;

    // ==== The light inside and the motes outside =========================
    // Shared: the ripple on the light's surface, and the motes' twinkle.
    Mote mote = moteAt(p, moteAndRise.a, glowAndSway.a);
    float wave = sinTurns(bodyOnly ? h.x * (13.0 / TAU) + shadedAndSurface.a
                                   : litAndTwinkle.a + mote.phase);
    // Below the light's rippling surface the cushion is lit crimson, with
    // its highlights; above it, dim red glass that catches the highlight.
    float surface = fill + 0.015 * wave;
    float below = ease(clamp((surface + 0.008 - h.y) * (1.0 / 0.016), 0.0, 1.0));
    // Shared: the bright meniscus along the surface, and the motes' halo.
    // (1 - x / 8)^8 stands for e^-x: close to it where it shows, and half
    // the work of fade().
    float halo = max(1.0 - (bodyOnly ? abs(h.y - surface) * 90.0 : mote.spread) * 0.125, 0.0);
    halo *= halo;
    halo *= halo;
    halo *= halo;
    float meniscusLight = bodyOnly ? halo * glassAndMeniscus.a : 0.0;
    // A mote: the halo with a bright core (the halo to the eighth power).
    float core = halo * halo;
    core *= core;
    core *= core;
    float moteLight = (core + 0.3 * halo) * (0.55 + 0.45 * wave) * mote.strength;

    // ==== Stage ===========================================================
    // Each piece of the picture is a colour and how much of it shows here;
    // the colours are added up once, at the end.

    // A dark violet vignette.
    float vignette = rise(radius, 0.2, 1.0 / 1.4);

    // The glow around the outline, and the heart-shaped waves leaving it:
    // e^(-28 |d - front|) is e^(-28 d) e^(28 front) beyond the front and
    // e^(28 d) e^(-28 front) within it, and the smaller of the two.
    float glow = falloff;
    float glow2 = glow * glow;
    vec3 beyond = (glow2 * glow2) * wavesBeyond.xyz;
    vec3 within = wavesWithin.xyz * (1.0 / (glow2 * glow2));
    float ripples = (beyond.x < within.x ? beyond.x : within.x) +
                    (beyond.y < within.y ? beyond.y : within.y);
    float burstWave = beyond.z < within.z ? beyond.z : within.z;

    // Soft rays turning slowly behind the heart: sin(9 angle + turn), whose
    // first part is the direction raised to the ninth power.
    vec2 fromRays = p - RAY_CENTRE;
    vec2 direction = fromRays * inversesqrt(max(dot(fromRays, fromRays), 1e-12));
    vec2 power2 = complexSquare(direction);
    vec2 power4 = complexSquare(power2);
    vec2 power8 = complexSquare(power4);
    vec2 turned = vec2(direction.x * rayTurn.x - direction.y * rayTurn.y,
                       imaginaryOfProduct(direction, rayTurn));
    float ray = 0.5 + 0.5 * imaginaryOfProduct(power8, turned);
    float rays = ray * ray * ray;
    rays *= rays; // the sixth power: narrow rays
    // Shared: the rays fade as e^(-1.6 radius); the sheen on the body.
    vec2 fromSheen = (p - SHEEN_CENTRE * size) * SHEEN_SPREAD;
    float spread = fade(bodyOnly ? dot(fromSheen, fromSheen) : radius * 1.6);
    float rayLight = rays * spread * ringAndRays.a;
    float sheen = spread * clamp(-d * (1.0 / SHEEN_DEPTH), 0.0, 1.0);

    // The burst: a heart-shaped wave racing out as a name arrives, beaded
    // with sparks along its front (24 around: the direction to the 24th),
    // where its colour turns towards SPARK_TINT.
    float beads = rise(imaginaryOfProduct(complexSquare(power8), power8), 0.2, 1.0 / 0.8);
    float burstLight = outside * burstWave * (0.25 + 0.75 * beads);
    float sparkLight = burstLight * 0.3 * beads;

    // ==== The body's shares ===============================================
    // A darker rim inside the outline keeps it crisp against the glow.
    float bodyShare = inside * rise(-d, 0.0, 1.0 / RIM_WIDTH);
    float litShare = bodyShare * below;
    // The glass shows only as much as the story lets it.
    float glassShare = (bodyShare - litShare) * turnAndScale.w;

    // ==== The line of light along the outline ============================
    // Drawn from the tip up to the cleft, with a spark at its head while it
    // runs.
    // Its progress, 0 at the tip and 1 at the cleft, as seen from the rays'
    // centre: (1 - cos) / 2 of the angle from straight down, which heart.vsh
    // also gives how far the line has drawn in.
    float along = 0.5 + 0.5 * direction.y;
    float ahead = along - traced; // of the line's head
    float drawn = ease(clamp(ahead * -50.0, 0.0, 1.0));
    // The glow comes with the line, more softly, so that no edge of it
    // stretches out across the stage.
    float glowDrawn = clamp(0.5 - ahead * 4.0, 0.0, 1.0);
    vec2 fromHead = vec2(ahead, d * 3.0);
    // The spark at the head: e^-(900 |fromHead|^2), as (1 - x / 8)^8.
    float spark = max(1.0 - dot(fromHead, fromHead) * (900.0 / 8.0), 0.0);
    spark *= spark;
    spark *= spark;
    spark *= spark;
    float strokeLight = fade(abs(d) * 260.0) * drawn * rimAndStroke.a + spark * wavesBeyond.a;

    // ==== All together ====================================================
    vec3 colour = stageNearAndFill.rgb * outside + stageFarAndNames.rgb * (outside * vignette) +
                  glowAndSway.rgb * (outside * glow * glowDrawn) +
                  ringAndRays.rgb * (outside * ripples) +
                  moteAndRise.rgb * (outside * moteLight) + RAY_TINT * (outside * rayLight) +
                  SPARK_TINT * sparkLight + STROKE_TINT * (0.6 * strokeLight) +
                  bright * (burstLight - sparkLight + bodyShare * meniscusLight + 0.4 * strokeLight) +
                  rimAndStroke.rgb * ((inside - bodyShare) * drawn) +
                  glassAndMeniscus.rgb * glassShare + litAndTwinkle.rgb * litShare +
                  shadedAndSurface.rgb * (diffuse * (glassShare * (0.25 * GLASS) + litShare * 0.85)) +
                  GLASS_SPECULAR * (glassShare * specular) +
                  shineAndTraced.rgb * (litShare * (specular * 0.55 + sheen * 0.35));

    // Room for the name on show.
    float nameBand = clamp((NAME_BAND_REACH - abs(p.y - NAME_BAND_MIDDLE)) * (1.0 / NAME_BAND_EDGE),
                           0.0, 1.0);
    float roomForName = greetingsOn * nameBand;
    colour = limitLuminance(colour, mix(UNLIMITED_LIGHT, NAME_LIGHT, roomForName));

    fragColor = vec4(colour + ditherAt(screenPosition) * (1.0 / 255.0), 1.0);
}
