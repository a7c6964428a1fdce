#version 330 core
// The full-screen quad, and everything of the background that depends on
// "time" alone.
//
// The clip-space corners go on to the fragment stage, which so knows where
// on the screen it is without knowing the window size. The story of the
// cycle, the beat and the colours of the light are the same for every pixel
// of a frame: they are worked out here, once per corner, and reach the
// fragment stage as flat values, so that each pixel only does what depends
// on where it is (heart.fsh).
//
// "time" is the show clock: -1 up to just under 27, one unit per 4 s, then
// back to -1. Every repeating motion runs a whole number of times per cycle
// of 28 units, and every envelope of the story ends where it starts, in the
// dark, so the jump back to -1 cannot be seen.
//
// The story of one cycle:
//   opening   (-1..10)  out of the dark a line of light draws the heart, and
//                       light fills it from the tip up; then, one unit after
//                       another, each on a kick: the heart beats, the stage
//                       around it warms, ripples leave it, motes rise, rays
//                       turn, the off-beat ripples join, the heart shines,
//                       the motes and the rays take up the beat, and the
//                       last unit builds up to the greetings
//   greetings (10..18)  the stage lifts; each name's colour arrives with a
//                       burst on the first kick after the name
//   closing   (18..27)  the stage calms in steps to a wine-red heart that
//                       still beats; then the light drains out, the line
//                       withdraws to the tip and the picture goes dark
layout(location = 0) in vec2 position;

uniform float time;

out vec2 screenPosition; // -1..1 across and up the window

// ---- What the fragment stage receives (the same for every pixel) --------
// Packed four to a vector, flat with flat, so that any implementation's
// packing fits them in 14 of the 15 vectors every WebGL2 one passes between
// the stages (heart.fsh unpacks them under the same names).
// Colours are already scaled by how strongly they show now.
flat out vec4 lightAndSize; // the colour of the light; the heart's height in screen units
flat out vec4 stageNearAndFill; // the stage next to the heart; the light's level in the heart
flat out vec4 stageFarAndNames; // the stage's edge less its middle; 1 while names show
flat out vec4 ringAndRays; // the ripples' colour; the rays' strength
flat out vec4 moteAndRise; // the motes' colour; how far their field has risen, in cells
flat out vec4 glowAndSway; // the glow's colour; the motes' sway, in turns
flat out vec4 litAndTwinkle; // the lit body's base; the motes' twinkle, in turns
flat out vec4 shadedAndSurface; // the body's shaded-to-lit range; the light's surface wave, in turns
flat out vec4 glassAndMeniscus; // the unlit body's base; the meniscus's strength
flat out vec4 shineAndTraced; // the highlights' colour; the line's progress (heart.fsh's measure)
flat out vec4 rimAndStroke; // the rim's colour; the outline's line of light's strength
flat out vec4 wavesBeyond; // heart-shaped waves, outside their front: two ripples, the burst; the head's strength
flat out vec4 wavesWithin; // the same, inside their front; 1 / height
flat out vec4 turnAndScale; // the rays' turn (cosine, sine); 1.06 / height; how much the glass shows

const float TAU = 6.28318531;
const float PI = 3.14159265;

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
const float HEART_STRETCH = 1.06; // heart space is this much taller than screen space
const float HEART_TOP = 1.11; // the top of its lobes, in heart space
// Past the cleft, so that the whole outline shows once it is drawn (the
// line's progress runs from 0 at the tip to 1 at the cleft).
const float TRACED_FULLY = 1.04;

// ---- Heart-shaped waves ---------------------------------------------------
// A wave at distance `front` from the outline shines e^(-WAVE_FALLOFF |d - front|)
// at distance d. heart.fsh has e^(-WAVE_FALLOFF d) at hand, so each wave
// comes as its strength times e^(+-WAVE_FALLOFF front), one factor for each
// side of its front.
const float WAVE_FALLOFF = 28.0;
const float RING_TRAVEL = 0.9; // screen units a ripple travels in a beat
const float BURST_REACH = 1.6; // the burst's distance after one unit, growing as its square root
const float BURST_FURTHEST = 2.0; // beyond any use, and e^(28 x 2) still a float

// ---- Motes ----------------------------------------------------------------
const float MOTE_ROWS = 64.0; // cells risen per cycle (heart.fsh repeats the field after as many)

// ---- Colours ------------------------------------------------------------
const vec3 CRIMSON = vec3(0.93, 0.10, 0.26);
const vec3 ROSE_LIGHT = vec3(1.0, 0.20, 0.40); // the crimson's other end while it drifts
const float SHADOW = 0.42; // the shadowed side: the light's colour squared, this much
const vec3 WINE = vec3(0.66, 0.07, 0.24); // the calm colour of the closing
const float GLASS = 0.8; // how much of the light the unlit heart still shows
// One colour of light per greeted name (app/ShowTexts.cpp), in the order the
// names appear.
const vec3 NAME_COLOURS[8] = vec3[8](vec3(0.95, 0.16, 0.42), // Quiet Comet: rose
                                     vec3(0.95, 0.25, 0.10), // Mox: ember
                                     vec3(0.62, 0.20, 0.95), // Glimra: violet
                                     vec3(0.15, 0.45, 0.95), // Yol: sapphire
                                     vec3(0.88, 0.12, 0.70), // Zinth: magenta
                                     vec3(0.90, 0.30, 0.05), // Dustbyte: amber
                                     vec3(0.04, 0.52, 0.58), // Hex Lagoon: lagoon
                                     vec3(0.95, 0.10, 0.22)); // Fyr: scarlet
const vec3 STAGE_WARM = vec3(0.16, 0.03, 0.12); // the stage near the heart drifts
const vec3 STAGE_COOL = vec3(0.10, 0.03, 0.18); // between these two violets
const vec3 STAGE_EDGE = vec3(0.015, 0.005, 0.03); // the vignette's dark edge
// The ripples pass every spot around the heart four times a second: violet,
// so that they are no red flashes, and dim, so that they are no flashes at all.
const vec3 RING_TINT = vec3(0.40, 0.10, 0.46);
const vec3 MOTE_TINT = vec3(1.0, 0.55, 0.7);
const vec3 GLOW_TINT = vec3(0.9, 0.12, 0.35);
// What the beat adds to the glow: pale, as a red pulse there would be a red
// flash all around the heart twice a second.
const vec3 GLOW_BEAT = vec3(1.0, 0.62, 0.78);
const vec3 SHINE_TINT = vec3(1.0, 0.8, 0.85);
// The sheen on the heart's upper lobe warms on the beat. Only there: a blush
// of the whole body would be a red flash over much of the screen twice a
// second.
const vec3 BEAT_BLUSH = vec3(0.30, 0.06, 0.10);

// ---- The story, in units of "time" -----------------------------------------
const float LINE_START = -1.0; // the line of light sets off from the tip
const float LINE_DRAWN = -0.55; // and reaches the cleft
const float FILL_START = -0.7; // the light rises from the tip
const float FILL_FULL = 0.05;
const float WAKING = 0.3; // units over which each new piece of the opening comes up
const float DRAIN_START = 25.95; // the light sinks back to the tip
const float DRAIN_END = 26.6;
const float WITHDRAW_START = 26.55; // the line runs back to the tip
const float DARK = 26.97; // and all is dark
const float STAGE_DIMS = 26.62; // the stage fades into the dark from here

// A soft pulse that rises smoothly to 1 at `peak` and decays after it.
float pulse(float x, float peak) {
    float k = max(x, 0.0) / peak;
    return k * exp(1.0 - k);
}

// 0 outside [a, d], 1 inside [b, c], smooth in between.
float plateau(float t, float a, float b, float c, float d) {
    return smoothstep(a, b, t) * (1.0 - smoothstep(c, d, t));
}

// The show time of the first kick at or after show time t.
float kickAfter(float t) {
    return MUSIC_START + ceil((t - MUSIC_START) * BEATS_PER_UNIT) / BEATS_PER_UNIT;
}

// 0 until the first kick at or after `from`, then up to 1 within WAKING.
float wakesOnKick(float from) {
    float kick = kickAfter(from);
    return smoothstep(kick, kick + WAKING, time);
}

// 1 until `from`, then down to 0 within `length` units.
float fadesAt(float from, float length) {
    return 1.0 - smoothstep(from, from + length, time);
}

// Name number `index`'s colour; before the first name and after the last,
// the heart's own crimson.
vec3 nameColour(float index) {
    return index >= 0.0 && index <= 7.0 ? NAME_COLOURS[int(clamp(index, 0.0, 7.0))] : CRIMSON;
}

void main() {
    screenPosition = position;
    gl_Position = vec4(position, 0.0, 1.0);

    // ==== The story: envelopes of the cycle ==============================
    // How far the line of light has drawn the outline, tip to cleft: out in
    // the opening, back at the end of the closing.
    float traced = TRACED_FULLY * smoothstep(LINE_START, LINE_DRAWN, time) *
                   fadesAt(WITHDRAW_START, DARK - WITHDRAW_START);
    // The level of light inside the heart: it rises from the tip in the
    // opening and drains in the closing.
    float fill = HEART_TOP * smoothstep(FILL_START, FILL_FULL, time) *
                 fadesAt(DRAIN_START, DRAIN_END - DRAIN_START);
    float lit = smoothstep(0.0, 0.9, fill); // how far the heart is lit
    // How much of the stage shows: a haze that comes and goes with the line,
    // the stage proper, which lifts for the greetings, and the light that
    // the heart gives off as it drains; all of it fades at the end.
    float dark = fadesAt(STAGE_DIMS, DARK - STAGE_DIMS);
    float haze = 0.55 * min(traced, 1.0) * (1.0 - 0.5 * lit);
    float given = 0.35 * (1.0 - lit) * smoothstep(GREETINGS_END, DRAIN_START, time);
    // Calm: the closing's steps down, 0 before it, 1 from 23.
    float calm = smoothstep(18.6, 23.0, time);
    float lift = plateau(time, 9.0, 9.8, GREETINGS_END, 19.5);

    // ---- The opening, one new piece a unit, each on a kick
    float beating = wakesOnKick(-0.4);
    float glowsOnBeat = wakesOnKick(0.0);
    float stageWarms = wakesOnKick(1.0);
    float ripplesOnBeat = wakesOnKick(2.0) * fadesAt(22.0, 1.5);
    float motesRise = wakesOnKick(3.0) * (1.0 - 0.65 * smoothstep(21.0, 22.0, time)) *
                      fadesAt(26.3, 0.5);
    float raysTurn = wakesOnKick(4.0) * fadesAt(19.0, 1.5);
    float ripplesOffBeat = wakesOnKick(5.0) * fadesAt(20.0, 0.5);
    float shines = wakesOnKick(6.0);
    float motesOnBeat = wakesOnKick(7.0) * fadesAt(20.5, 1.0);
    float raysOnBeat = wakesOnKick(8.0);

    // ---- The greetings: the name on show, and the one whose colour shows
    // since the first kick after it appeared. -1 before the first, 8 after
    // the last.
    float showing = clamp(floor(time - GREETINGS_START), -1.0, 8.0);
    float landed = time >= kickAfter(GREETINGS_START + showing) ? showing : showing - 1.0;
    float landedAt = kickAfter(GREETINGS_START + landed);
    float greetingAge = time - landedAt; // units since the name's colour landed
    float greetingsOn =
        plateau(time, GREETINGS_START - 0.3, GREETINGS_START, GREETINGS_END, GREETINGS_END + 0.3);
    // A burst as each name's colour lands: up within the swell of the kick.
    float burst = landed >= 0.0 && landed <= 7.0 ? plateau(greetingAge, 0.0, 0.01, 0.02, 0.9) : 0.0;
    float drift = sin(time * TAU / CYCLE);

    // ==== The beat ========================================================
    float beats = (time - MUSIC_START) * BEATS_PER_UNIT;
    float beatIndex = floor(beats);
    float beatPhase = beats - beatIndex;
    float accent = mod(beatIndex, 2.0) < 0.5 ? 1.0 : DUB;
    float beat = accent * pulse(beatPhase, SWELL_PEAK) * beating;
    float size = HEART_SIZE * (1.0 + SWELL * beat * (1.0 - 0.45 * calm));

    // ==== Colour of the light ============================================
    vec3 named =
        mix(nameColour(landed - 1.0), nameColour(landed), smoothstep(0.0, 0.05, greetingAge));
    vec3 bright = mix(mix(CRIMSON, ROSE_LIGHT, 0.5 + 0.5 * drift), named, greetingsOn);
    bright = mix(bright, WINE, smoothstep(20.5, 23.0, time));

    // ==== Stage ===========================================================
    float stageLevel =
        (max(haze, 0.75 * stageWarms) + 0.6 * lift - 0.2 * calm + given) * dark;
    vec3 stageNear = mix(mix(STAGE_WARM, STAGE_COOL, 0.5 + 0.5 * drift), bright * 0.2, 0.3 * lift) *
                     stageLevel;
    vec3 stageFar = STAGE_EDGE * stageLevel - stageNear;
    // Ripples: heart-shaped rings leaving the heart, on the beat and off it.
    vec2 ringStrength;
    vec2 ringFront;
    for (int i = 0; i < 2; ++i) {
        float age = fract(beatPhase + 0.5 * float(i));
        ringFront[i] = age * RING_TRAVEL;
        ringStrength[i] = smoothstep(0.0, 0.1, age) * (1.0 - age) * (1.0 - age);
    }
    ringStrength *= vec2(ripplesOnBeat, ripplesOffBeat);
    vec3 ringColour = mix(RING_TINT, bright * 0.6, 0.25) * (0.65 + 0.15 * lift);
    // Motes: brighter on the beat once they take it up.
    vec3 moteColour = mix(MOTE_TINT, bright, 0.4) * (0.75 + 0.6 * beat * motesOnBeat) * motesRise;
    float moteRise = time * MOTE_ROWS / CYCLE;
    float moteSway = fract(time * 6.0 / CYCLE);
    float moteTwinkle = fract(time * 40.0 / CYCLE);
    // Rays: turning twice per cycle.
    float rayTurn = time * 2.0 / CYCLE;
    float rayStrength =
        (0.6 + 0.4 * drift + 0.5 * lift) * (1.0 + 0.35 * beat * raysOnBeat) * raysTurn;
    // The burst as a name's colour lands: a wave racing out from the outline.
    float burstStrength = burst * burst * 0.6;
    float burstFront = min(BURST_REACH * sqrt(max(greetingAge, 0.0)), BURST_FURTHEST);
    // Glow around the outline: the line's halo while it draws, then the
    // heart's, for the greetings and in a burst; on the beat it pales.
    float glowLevel = (0.25 + 0.75 * lit) * (0.35 + 0.3 * lift) + 0.5 * burst +
                      0.8 * (1.0 - lit) * traced;
    vec3 glowColour = (mix(GLOW_TINT, bright, 0.5) * glowLevel +
                       GLOW_BEAT * (0.3 * beat * glowsOnBeat * (0.25 + 0.75 * lit))) *
                      0.5 * dark;

    // ==== The heart's body ================================================
    vec3 deep = bright * bright * SHADOW;
    vec3 shadedRange = bright - deep;
    vec3 litBase = deep + 0.15 * shadedRange;
    // The highlights: brighter once the heart shines, warmer on the beat,
    // softer while names show, so that the letters keep the light.
    vec3 shineColour = (mix(SHINE_TINT, bright, 0.3) * (0.6 + 0.5 * shines) +
                        BEAT_BLUSH * beat * 1.5) *
                       (1.0 - 0.7 * greetingsOn);
    // Unlit: dark red glass, which shows once the line has drawn it.
    float glassLevel = 0.35 * traced * dark;
    vec3 glassBase = (deep + 0.45 * shadedRange) * GLASS + bright * 0.12 * beat;
    float meniscus = 0.8 * plateau(fill, 0.0, 0.05, HEART_TOP - 0.1, HEART_TOP);
    float surfaceWave = fract(time * 20.0 / CYCLE);
    vec3 rimColour = deep * 0.7 * dark;

    // ==== The line of light along the outline ============================
    // The line is brightest while the heart is dark, and its head shines
    // while it runs, out and back.
    float strokeStrength = (0.35 + 0.65 * (1.0 - lit)) * dark;
    float headStrength = 1.6 * smoothstep(LINE_START, LINE_START + 0.05, time) *
                         (1.0 - smoothstep(0.9, 1.0, traced)) * dark;

    // ==== Packed for the fragment stage ===================================
    lightAndSize = vec4(bright, size);
    stageNearAndFill = vec4(stageNear, fill);
    stageFarAndNames = vec4(stageFar, greetingsOn);
    ringAndRays = vec4(ringColour, rayStrength);
    moteAndRise = vec4(moteColour, moteRise);
    glowAndSway = vec4(glowColour, moteSway);
    litAndTwinkle = vec4(litBase, moteTwinkle);
    shadedAndSurface = vec4(shadedRange, surfaceWave);
    glassAndMeniscus = vec4(glassBase, meniscus);
    // heart.fsh measures the line's progress as (1 - cos) / 2 of the angle
    // from the tip, seen from the heart's middle.
    float tracedAround = 0.5 - 0.5 * cos(PI * min(traced, 1.0)) + max(traced - 1.0, 0.0);
    shineAndTraced = vec4(shineColour, tracedAround);
    rimAndStroke = vec4(rimColour, strokeStrength);
    vec3 fronts = vec3(ringFront, burstFront);
    vec3 strengths = vec3(ringStrength, burstStrength);
    wavesBeyond = vec4(strengths * exp(WAVE_FALLOFF * fronts), headStrength);
    wavesWithin = vec4(strengths * exp(-WAVE_FALLOFF * fronts), 1.0 / size);
    turnAndScale = vec4(cos(TAU * rayTurn), sin(TAU * rayTurn), HEART_STRETCH / size, glassLevel);
}
