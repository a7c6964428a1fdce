#version 330 core
// The background: a heart that beats with the music's kick, on a dark stage.
//
// Everything here is a function of "time" alone, the show clock: -1 up to
// just under 27, one unit per 4 s, then back to -1. Every repeating motion
// runs a whole number of times per cycle of 28 units, and every envelope of
// the story ends where it starts, so the jump back to -1 cannot be seen.
//
// The story of one cycle:
//   opening   (-1..10)  a line of light draws the heart, then light fills it
//                       from the tip up and the stage wakes
//   greetings (10..18)  each name arrives with a burst and a colour of its own
//   closing   (18..27)  the stage calms and darkens and the light drains out,
//                       back to the dim glass heart that the opening starts from

in vec2 screenPosition; // -1..1 across and up the window

uniform float time;

out vec4 fragColor;

const float TAU = 6.28318531;
const float ASPECT = 4.0 / 3.0; // the window is 800 x 600

// ---- The clock ----------------------------------------------------------
const float CYCLE = 28.0; // units of "time" per cycle
const float UNIT_MS = 4000.0; // milliseconds per unit
const float GREETINGS_START = 10.0;
const float GREETINGS_END = 18.0;

// ---- The beat -----------------------------------------------------------
// The music's kick falls on every beat: 96 beats in its loop of 2,136,064
// samples at 44100 Hz, so 0.504550 s a beat. 222 beats per cycle (0.504505 s)
// keep the grid periodic in the clock and stray from the music by only 10 ms
// a cycle. The grid starts where the music's first sample, a kick, is heard:
// MUSIC_START_MS is musicStartMs in base/ShowConstants.h, which says how it
// was measured; the two must stay equal (a test compares them).
const float MUSIC_START_MS = 383.0;
const float MUSIC_START = MUSIC_START_MS / UNIT_MS - 1.0;
const float BEATS_PER_UNIT = 222.0 / CYCLE;
const float SWELL_PEAK = 0.08; // of a beat after the kick: 40 ms
const float DUB = 0.6; // every second beat swells less: lub, dub
const float SWELL = 0.075; // how much the heart grows on a full beat

// ---- The heart ----------------------------------------------------------
const float HEART_SIZE = 0.92; // height in screen units
const float HEART_BASE = -0.56; // where its tip sits, in heart heights
const float HEART_TOP = 1.11; // the top of its lobes, in heart space
const float LOBE_RADIUS = 0.35355339; // sqrt(2) / 4
const vec2 LOBE_CENTRE = vec2(0.25, 0.75);
const float MIDLINE_ROUNDING = 0.07; // width over which the two halves meet
const float LOBE_ROUNDING = 0.0025; // squared radius of the rounding at each lobe's centre
const float BLEND = 0.12; // how softly the heart's pieces join under its surface
const float CUSHION_HEIGHT = 0.12;
const float CUSHION_WIDTH = 0.09; // how far in from the outline it rises
const float STROKE_REACH = 0.04; // how far the outline's line of light shines
const vec3 LIGHT = vec3(-0.49, 0.59, 0.64); // from the upper left, unit length

// ---- Motes: specks of light drifting up through the stage ----------------
const float MOTE_CELL = 0.15; // screen units per cell, one mote at most in each
const float MOTE_ROWS = 64.0; // cells risen per cycle; the pattern repeats after as many rows
const float MOTE_SIZE = 0.011;

// ---- Colours ------------------------------------------------------------
const vec3 CRIMSON = vec3(0.93, 0.10, 0.26);
const float SHADOW = 0.42; // the shadowed side: the light's colour squared, this much
const vec3 WINE = vec3(0.52, 0.05, 0.22); // the calm colour of the closing
const float GLASS = 0.8; // how much of the light the unlit heart still shows
// One colour of light per greeted name, in the order the names appear.
const vec3 NAME_COLOURS[8] = vec3[8](vec3(0.95, 0.16, 0.42), // rose
                                     vec3(0.95, 0.25, 0.10), // ember
                                     vec3(0.62, 0.20, 0.95), // violet
                                     vec3(0.15, 0.45, 0.95), // sapphire
                                     vec3(0.88, 0.12, 0.70), // magenta
                                     vec3(0.04, 0.52, 0.58), // lagoon
                                     vec3(0.90, 0.30, 0.05), // amber
                                     vec3(0.95, 0.10, 0.22)); // scarlet

// ---- Room for the names -------------------------------------------------
// While a name shows, nothing behind its line (screen heights NAME_BAND_LOW
// to NAME_BAND_HIGH) grows brighter than NAME_LIGHT, a relative luminance that
// keeps the warm white letters at 3.5:1 or more against it.
const float NAME_BAND_LOW = -0.10;
const float NAME_BAND_HIGH = 0.32;
const float NAME_LIGHT = 0.22;
const vec3 LUMINANCE = vec3(0.2126, 0.7152, 0.0722);

float squaredLength(vec2 v) { return dot(v, v); }

// A soft pulse that rises smoothly to 1 at `peak` and decays after it.
float pulse(float x, float peak) {
    float k = max(x, 0.0) / peak;
    return k * exp(1.0 - k);
}

// 0 outside [a, d], 1 inside [b, c], smooth in between.
float plateau(float t, float a, float b, float c, float d) {
    return smoothstep(a, b, t) * (1.0 - smoothstep(c, d, t));
}

// |x| beyond `r`, a parabola within it, so the heart's halves meet without
// a fold; with its slope.
vec2 smoothAbs(float x, float r) {
    float a = abs(x);
    return a < r ? vec2(0.5 * (a * a / r + r), x / r) : vec2(a, sign(x));
}

// Signed distance to a heart of height about 1 standing on its tip at the
// origin, symmetric in x: two quarter circles meeting a V. Negative inside.
float heartDistance(vec2 p) {
    if (p.x + p.y > 1.0) {
        return sqrt(squaredLength(p - LOBE_CENTRE)) - LOBE_RADIUS;
    }
    return sqrt(min(squaredLength(p - vec2(0.0, 1.0)),
                    squaredLength(p - 0.5 * max(p.x + p.y, 0.0)))) *
           sign(p.x - p.y);
}

// Screen point to heart space for a heart of the given size.
vec2 toHeart(vec2 p, float size) {
    vec2 h = (p - vec2(0.0, HEART_BASE * size)) / size;
    return vec2(h.x, h.y * 1.06);
}

// The shading works on fields with their gradient: (value, d/dx, d/dy).
// Smooth minimum and maximum: within `k` of each other the two values blend
// instead of meeting in a fold, and so do their gradients.
vec3 smoothMin(vec3 a, vec3 b, float k) {
    float h = max(k - abs(a.x - b.x), 0.0) / k;
    vec3 smaller = a.x < b.x ? a : b;
    vec3 larger = a.x < b.x ? b : a;
    return vec3(smaller.x - h * h * k * 0.25, mix(smaller.yz, larger.yz, 0.5 * h));
}
vec3 smoothMax(vec3 a, vec3 b, float k) { return -smoothMin(-a, -b, k); }

// How far inside the heart a point of heart space lies, with its gradient,
// smooth everywhere inside: the heart is a diamond (a V capped by two upper
// edges) joined to two round lobes, and the pieces meet through smooth
// minima and maxima rather than the folds of the exact distance.
vec3 smoothInner(vec2 h) {
    vec2 x = smoothAbs(h.x, MIDLINE_ROUNDING);
    vec3 lower = vec3(h.y - x.x, -x.y, 1.0) * 0.70710678;
    vec3 upper = vec3(1.0 - h.y - x.x, -x.y, -1.0) * 0.70710678;
    // The lobe's distance, rounded at its centre where a cone would peak.
    vec2 fromCentre = vec2(x.x, h.y) - LOBE_CENTRE;
    float reach = sqrt(dot(fromCentre, fromCentre) + LOBE_ROUNDING);
    vec3 lobe = vec3(sqrt(LOBE_RADIUS * LOBE_RADIUS + LOBE_ROUNDING) - reach,
                     -fromCentre.x * x.y / reach, -fromCentre.y / reach);
    return smoothMax(smoothMin(lower, upper, BLEND), lobe, BLEND);
}

// The slope of the cushion over a screen point: its height rises from the
// outline and flattens well inside.
vec2 cushionSlope(vec2 p, float size) {
    vec3 inner = smoothInner(toHeart(p, size));
    float depth = inner.x * size; // in screen units
    // Heart space is screen space scaled by 1 / size, and by 1.06 upwards.
    vec2 gradient = inner.yz * vec2(1.0, 1.06);
    return depth > 0.0 ? gradient * exp(-depth / CUSHION_WIDTH) * CUSHION_HEIGHT / CUSHION_WIDTH
                       : vec2(0.0);
}

// Dims `colour` so that its relative luminance stays under `limit`, with a
// soft knee so that what is dimmed keeps its shading. Squaring stands in for
// the sRGB curve: it reads a little brighter, so it errs on the safe side.
vec3 limitLuminance(vec3 colour, float limit) {
    float luminance = dot(colour * colour, LUMINANCE);
    float knee = 0.7 * limit;
    if (luminance <= knee) {
        return colour;
    }
    float range = limit - knee;
    float limited = knee + range * (1.0 - exp(-(luminance - knee) / range));
    return colour * sqrt(limited / luminance);
}

// A pseudo-random number in [0, 1) for a cell, from multiplications only.
float hash(vec2 cell) {
    vec3 q = fract(vec3(cell.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

// Brightness of the motes at a screen point. The field rises a whole
// number of rows per cycle and the cells repeat after that many rows, so
// it is the same after the wrap.
float motes(vec2 p) {
    vec2 q = vec2(p.x, p.y - time * MOTE_ROWS / CYCLE * MOTE_CELL) / MOTE_CELL;
    vec2 cell = vec2(floor(q.x), mod(floor(q.y), MOTE_ROWS));
    float seed = hash(cell);
    if (seed < 0.55) {
        return 0.0;
    }
    float phase = TAU * fract(seed * 7.31);
    // Swaying, but kept far enough inside its cell for the halo to fade there.
    vec2 centre = vec2(0.3 + 0.4 * fract(seed * 13.7) + 0.1 * sin(time * 6.0 * TAU / CYCLE + phase),
                       0.3 + 0.4 * fract(seed * 31.3));
    float twinkle = 0.55 + 0.45 * sin(time * 40.0 * TAU / CYCLE + phase);
    vec2 offset = (fract(q) - centre) * MOTE_CELL;
    float size = MOTE_SIZE * (0.6 + 0.8 * fract(seed * 57.1));
    float spread = dot(offset, offset) / (size * size);
    // A soft halo with a bright core (the halo to the eighth power).
    float halo = exp(-spread * 0.5);
    float core = halo * halo;
    core *= core;
    core *= core;
    return (core + 0.3 * halo) * twinkle * (seed - 0.55) / 0.45;
}

// The light while names show: greeting number `greeting`'s colour, blended
// in by `blend` over the colour before it; before the first name and after
// the last, the heart's own crimson. (A loop over the table with fixed
// indices costs less per pixel than picking from it by a computed index.)
vec3 nameLight(int greeting, float blend) {
    vec3 colour = vec3(0.0);
    float weight = 0.0;
    for (int i = 0; i < 8; ++i) {
        float w = i == greeting ? blend : (i == greeting - 1 ? 1.0 - blend : 0.0);
        colour += NAME_COLOURS[i] * w;
        weight += w;
    }
    return colour + CRIMSON * (1.0 - weight);
}

void main() {
    vec2 p = vec2(screenPosition.x * ASPECT, screenPosition.y);
    float radius = length(p);

    // ==== The story: envelopes of the cycle ==============================
    // How far the line of light has drawn the outline (tip to cleft), and
    // how bright it is: it fades as the closing ends.
    float traced = smoothstep(-0.97, -0.1, time);
    float line = 1.0 - smoothstep(25.6, 26.8, time);
    // The level of light inside the heart, in heart space: it rises from the
    // tip in the opening and drains in the closing.
    float fill = HEART_TOP * (smoothstep(-0.45, 1.6, time) - smoothstep(22.2, 26.4, time));
    // Calm: 1 at the wrap, 0 from the opening's second unit to the closing.
    float calm = 1.0 - smoothstep(-1.0, 1.8, time) + smoothstep(18.4, 22.5, time);
    // The greeting on show, -1 before the first and 8 after the last.
    float sinceGreetings = time - GREETINGS_START;
    int greeting = int(clamp(floor(sinceGreetings), -1.0, 8.0));
    float greetingAge = sinceGreetings - float(greeting); // units since it arrived
    float greetingsOn = plateau(time, GREETINGS_START - 0.3, GREETINGS_START,
                                GREETINGS_END, GREETINGS_END + 0.3);
    // A burst as each name arrives.
    float burst = greeting >= 0 && greeting <= 7 ? plateau(greetingAge, 0.0, 0.03, 0.03, 0.9) : 0.0;
    float drift = sin(time * TAU / CYCLE);

    // ==== The beat ========================================================
    float beats = (time - MUSIC_START) * BEATS_PER_UNIT;
    float beatIndex = floor(beats);
    float beatPhase = beats - beatIndex;
    float accent = mod(beatIndex, 2.0) < 0.5 ? 1.0 : DUB;
    float beat = accent * pulse(beatPhase, SWELL_PEAK) * (1.0 - 0.45 * calm);

    // ==== The heart's shape ==============================================
    float size = HEART_SIZE * (1.0 + SWELL * beat);
    vec2 h = toHeart(p, size);
    float d = heartDistance(vec2(abs(h.x), h.y)) * size;
    float pixel = fwidth(d);

    // ==== Colour of the light ============================================
    vec3 named = nameLight(greeting, smoothstep(0.0, 0.12, greetingAge));
    vec3 bright = mix(mix(CRIMSON, vec3(1.0, 0.20, 0.40), 0.5 + 0.5 * drift), named, greetingsOn);
    bright = mix(bright, WINE, calm);

    float lit = smoothstep(0.0, 0.4, fill); // how far the heart is lit

    // ==== Stage ===========================================================
    // Only what the heart leaves uncovered: the stage is not drawn under it.
    vec3 stage = vec3(0.0);
    if (d > -pixel) {
        // A dark violet vignette, darker still when calm.
        vec3 stageInner = mix(vec3(0.16, 0.03, 0.12), vec3(0.10, 0.03, 0.18), 0.5 + 0.5 * drift);
        stage = mix(stageInner, vec3(0.015, 0.005, 0.03), smoothstep(0.2, 1.6, radius));
        stage *= 1.0 - 0.55 * calm;

        // Ripples: heart-shaped rings leaving the heart on each beat.
        float rings = 0.0;
        for (int i = 0; i < 2; ++i) {
            float age = fract(beatPhase + 0.5 * float(i));
            float ringDistance = d - age * 0.9;
            rings += exp(-abs(ringDistance) * 28.0) * smoothstep(0.0, 0.1, age) * (1.0 - age) *
                     (1.0 - age);
        }
        stage += mix(vec3(0.55, 0.08, 0.28), bright * 0.6, 0.5) * rings * 0.5 *
                 (1.0 - 0.7 * calm);

        // Motes drifting up, brighter on the beat, few and faint when calm.
        stage += mix(vec3(1.0, 0.55, 0.7), bright, 0.4) * motes(p) * (0.7 + 0.6 * beat) *
                 (1.0 - 0.75 * calm);

        // Soft rays turning slowly behind the heart, twice per cycle.
        float angle = atan(p.y + 0.1, p.x);
        float ray = 0.5 + 0.5 * sin(angle * 9.0 + time * 2.0 * TAU / CYCLE);
        float rays = ray * ray * ray;
        rays *= rays; // the sixth power: narrow rays
        stage += vec3(0.20, 0.04, 0.16) * rays * exp(-radius * 1.6) * (0.6 + 0.4 * drift) *
                 (1.0 - calm);

        // The burst: a heart-shaped wave racing out as a name arrives, beaded
        // with sparks along its front.
        if (burst > 0.0) {
            float front = d - 1.6 * sqrt(max(greetingAge, 0.0));
            float beads = smoothstep(0.2, 1.0, sin(angle * 24.0));
            stage += mix(bright, vec3(1.0, 0.85, 0.9), 0.3 * beads) * burst * burst *
                     exp(-abs(front) * 30.0) * (0.25 + 0.75 * beads) * 0.6;
        }

        // Glow around the outline, brighter on the beat and in a burst.
        float glow = exp(-max(d, 0.0) * 7.0) * (0.35 + 0.45 * beat + 0.5 * burst) *
                     (0.25 + 0.75 * lit);
        stage += mix(vec3(0.9, 0.12, 0.35), bright, 0.5) * glow * 0.5;
    }

    // ==== The heart's surface ============================================
    // A rounded cushion lit from the upper left, its normal from the
    // cushion's slope, which is smooth everywhere.
    vec3 body = vec3(0.0);
    if (d < pixel) {
        vec3 normal = normalize(vec3(-cushionSlope(p, size), 1.0));
        float diffuse = max(dot(normal, LIGHT), 0.0);
        float specular = pow(max(dot(reflect(-LIGHT, normal), vec3(0.0, 0.0, 1.0)), 0.0), 24.0);
        float depth = clamp(-d / 0.05, 0.0, 1.0);
        vec2 sheenCentre = vec2(-0.24, 0.36) * size;
        float sheen = exp(-squaredLength((p - sheenCentre) * vec2(1.0, 1.6)) * 14.0);

        // Lit: the crimson cushion.
        vec3 deep = bright * bright * SHADOW;
        vec3 litBody = mix(deep, bright, 0.15 + 0.85 * diffuse);
        litBody += vec3(0.30, 0.03, 0.08) * beat * 0.4;
        // The highlights soften while names show, so the letters keep the light.
        float shine = (specular * 0.55 + sheen * 0.35 * depth) * (1.0 - 0.7 * greetingsOn);
        litBody += mix(vec3(1.0, 0.8, 0.85), bright, 0.3) * shine;

        // Unlit: dim red glass that catches the highlight.
        vec3 glass = mix(deep, bright, 0.45 + 0.25 * diffuse) * GLASS +
                     vec3(0.9, 0.6, 0.7) * specular * 0.25 + bright * 0.12 * beat;

        // The light's surface, rippling, with a bright meniscus.
        float surface = fill + 0.015 * sin(h.x * 13.0 + time * 20.0 * TAU / CYCLE);
        float below = smoothstep(surface + 0.008, surface - 0.008, h.y);
        body = mix(glass, litBody, below);
        float filling = plateau(fill, 0.0, 0.05, HEART_TOP - 0.1, HEART_TOP);
        body += bright * exp(-abs(h.y - surface) * 90.0) * filling * 0.8;

        // A darker rim keeps the outline crisp against the glow.
        body = mix(deep * 0.7, body, smoothstep(0.0, 0.5, depth));
    }

    float inside = 1.0 - smoothstep(-pixel, pixel, d);
    vec3 colour = mix(stage, body, inside);

    // The line of light along the outline, drawn from the tip up to the
    // cleft, with a spark at its head while it runs. Nothing of it reaches
    // further than STROKE_REACH from the outline.
    if (abs(d) < STROKE_REACH && line > 0.0) {
        float along = atan(abs(h.x), 0.55 - h.y) / 3.14159265; // 0 at the tip, 1 at the cleft
        float drawn = 1.0 - smoothstep(traced - 0.02, traced, along);
        float stroke = exp(-abs(d) * 260.0) * drawn * line;
        float head = exp(-squaredLength(vec2(along - traced, d * 3.0)) * 900.0) *
                     smoothstep(-1.0, -0.9, time) * (1.0 - smoothstep(0.9, 1.0, traced));
        vec3 strokeColour = mix(vec3(1.0, 0.45, 0.6), bright, 0.4);
        colour += strokeColour * (stroke * (0.35 + 0.65 * (1.0 - lit)) + head);
    }

    // Room for the name on show.
    float nameBand = plateau(p.y, NAME_BAND_LOW - 0.06, NAME_BAND_LOW, NAME_BAND_HIGH,
                             NAME_BAND_HIGH + 0.3);
    float roomForName = greetingsOn * nameBand;
    if (roomForName > 0.0) {
        colour = limitLuminance(colour, mix(1.5, NAME_LIGHT, roomForName));
    }

    fragColor = vec4(colour, 1.0);
}
