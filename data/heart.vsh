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
// of 28 units, and every envelope of the story ends where it starts, so the
// jump back to -1 cannot be seen.
//
// The story of one cycle:
//   opening   (-1..10)  a line of light draws the heart, then light fills it
//                       from the tip up and the stage wakes
//   greetings (10..18)  each name arrives with a burst and a colour of its own
//   closing   (18..27)  the stage calms and darkens and the light drains out,
//                       back to the dim glass heart that the opening starts from
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
flat out vec4 shineAndTraced; // the highlights' colour; how far the outline is drawn
flat out vec4 rimAndStroke; // the rim's colour; the outline's line of light's strength
flat out vec4 wavesBeyond; // heart-shaped waves, outside their front: two ripples, the burst; the head's strength
flat out vec4 wavesWithin; // the same, inside their front; 1 / height
flat out vec4 turnAndScale; // the rays' turn (cosine, sine); 1.06 / height; unused

const float TAU = 6.28318531;

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
const vec3 STAGE_WARM = vec3(0.16, 0.03, 0.12); // the stage near the heart drifts
const vec3 STAGE_COOL = vec3(0.10, 0.03, 0.18); // between these two violets
const vec3 STAGE_EDGE = vec3(0.015, 0.005, 0.03); // the vignette's dark edge
const vec3 RING_TINT = vec3(0.55, 0.08, 0.28);
const vec3 MOTE_TINT = vec3(1.0, 0.55, 0.7);
const vec3 GLOW_TINT = vec3(0.9, 0.12, 0.35);
const vec3 SHINE_TINT = vec3(1.0, 0.8, 0.85);
const vec3 BEAT_BLUSH = vec3(0.30, 0.03, 0.08); // the lit body reddens on the beat

// A soft pulse that rises smoothly to 1 at `peak` and decays after it.
float pulse(float x, float peak) {
    float k = max(x, 0.0) / peak;
    return k * exp(1.0 - k);
}

// 0 outside [a, d], 1 inside [b, c], smooth in between.
float plateau(float t, float a, float b, float c, float d) {
    return smoothstep(a, b, t) * (1.0 - smoothstep(c, d, t));
}

// Name number `index`'s colour; before the first name and after the last,
// the heart's own crimson.
vec3 nameColour(int index) {
    return index >= 0 && index <= 7 ? NAME_COLOURS[clamp(index, 0, 7)] : CRIMSON;
}

void main() {
    screenPosition = position;
    gl_Position = vec4(position, 0.0, 1.0);

    // ==== The story: envelopes of the cycle ==============================
    // How far the line of light has drawn the outline (tip to cleft), and
    // how bright it is: it fades as the closing ends.
    float traced = smoothstep(-0.97, -0.1, time);
    float line = 1.0 - smoothstep(25.6, 26.8, time);
    // The level of light inside the heart: it rises from the tip in the
    // opening and drains in the closing.
    float fill = HEART_TOP * (smoothstep(-0.45, 1.6, time) - smoothstep(22.2, 26.4, time));
    float lit = smoothstep(0.0, 0.4, fill); // how far the heart is lit
    // Calm: 1 at the wrap, 0 from the opening's second unit to the closing.
    float calm = 1.0 - smoothstep(-1.0, 1.8, time) + smoothstep(18.4, 22.5, time);
    // The greeting on show, -1 before the first and 8 after the last.
    float sinceGreetings = time - GREETINGS_START;
    int greeting = int(clamp(floor(sinceGreetings), -1.0, 8.0));
    float greetingAge = sinceGreetings - float(greeting); // units since it arrived
    float greetingsOn =
        plateau(time, GREETINGS_START - 0.3, GREETINGS_START, GREETINGS_END, GREETINGS_END + 0.3);
    // A burst as each name arrives.
    float burst = greeting >= 0 && greeting <= 7 ? plateau(greetingAge, 0.0, 0.03, 0.03, 0.9) : 0.0;
    float drift = sin(time * TAU / CYCLE);

    // ==== The beat ========================================================
    float beats = (time - MUSIC_START) * BEATS_PER_UNIT;
    float beatIndex = floor(beats);
    float beatPhase = beats - beatIndex;
    float accent = mod(beatIndex, 2.0) < 0.5 ? 1.0 : DUB;
    float beat = accent * pulse(beatPhase, SWELL_PEAK) * (1.0 - 0.45 * calm);
    float size = HEART_SIZE * (1.0 + SWELL * beat);

    // ==== Colour of the light ============================================
    vec3 named = mix(nameColour(greeting - 1), nameColour(greeting),
                     smoothstep(0.0, 0.12, greetingAge));
    vec3 bright = mix(mix(CRIMSON, ROSE_LIGHT, 0.5 + 0.5 * drift), named, greetingsOn);
    bright = mix(bright, WINE, calm);

    // ==== Stage ===========================================================
    float stageLevel = 1.0 - 0.55 * calm;
    vec3 stageNear = mix(STAGE_WARM, STAGE_COOL, 0.5 + 0.5 * drift) * stageLevel;
    vec3 stageFar = STAGE_EDGE * stageLevel - stageNear;
    // Ripples: two heart-shaped rings in flight, leaving the heart on each beat.
    vec2 ringStrength;
    vec2 ringFront;
    for (int i = 0; i < 2; ++i) {
        float age = fract(beatPhase + 0.5 * float(i));
        ringFront[i] = age * RING_TRAVEL;
        ringStrength[i] = smoothstep(0.0, 0.1, age) * (1.0 - age) * (1.0 - age);
    }
    vec3 ringColour = mix(RING_TINT, bright * 0.6, 0.5) * 0.5 * (1.0 - 0.7 * calm);
    // Motes: brighter on the beat, few and faint when calm.
    vec3 moteColour = mix(MOTE_TINT, bright, 0.4) * (0.7 + 0.6 * beat) * (1.0 - 0.75 * calm);
    float moteRise = time * MOTE_ROWS / CYCLE;
    float moteSway = fract(time * 6.0 / CYCLE);
    float moteTwinkle = fract(time * 40.0 / CYCLE);
    // Rays: turning twice per cycle, gone when calm.
    float rayTurn = time * 2.0 / CYCLE;
    float rayStrength = (0.6 + 0.4 * drift) * (1.0 - calm);
    // The burst as a name arrives: a wave racing out from the outline.
    float burstStrength = burst * burst * 0.6;
    float burstFront = min(BURST_REACH * sqrt(max(greetingAge, 0.0)), BURST_FURTHEST);
    // Glow around the outline, brighter on the beat and in a burst.
    vec3 glowColour = mix(GLOW_TINT, bright, 0.5) * 0.5 * (0.35 + 0.45 * beat + 0.5 * burst) *
                      (0.25 + 0.75 * lit);

    // ==== The heart's body ================================================
    vec3 deep = bright * bright * SHADOW;
    vec3 shadedRange = bright - deep;
    // Lit: the crimson cushion, reddening on the beat.
    vec3 litBase = deep + 0.15 * shadedRange + BEAT_BLUSH * beat * 0.4;
    // The highlights soften while names show, so the letters keep the light.
    vec3 shineColour = mix(SHINE_TINT, bright, 0.3) * (1.0 - 0.7 * greetingsOn);
    // Unlit: dim red glass.
    vec3 glassBase = (deep + 0.45 * shadedRange) * GLASS + bright * 0.12 * beat;
    float meniscus = 0.8 * plateau(fill, 0.0, 0.05, HEART_TOP - 0.1, HEART_TOP);
    float surfaceWave = fract(time * 20.0 / CYCLE);
    vec3 rimColour = deep * 0.7;

    // ==== The line of light along the outline ============================
    // The line is brightest while the heart is still dark; its head shines
    // while it runs.
    float strokeStrength = line * (0.35 + 0.65 * (1.0 - lit));
    float headStrength = smoothstep(-1.0, -0.9, time) * (1.0 - smoothstep(0.9, 1.0, traced));

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
    shineAndTraced = vec4(shineColour, traced);
    rimAndStroke = vec4(rimColour, strokeStrength);
    vec3 fronts = vec3(ringFront, burstFront);
    vec3 strengths = vec3(ringStrength, burstStrength);
    wavesBeyond = vec4(strengths * exp(WAVE_FALLOFF * fronts), headStrength);
    wavesWithin = vec4(strengths * exp(-WAVE_FALLOFF * fronts), 1.0 / size);
    turnAndScale = vec4(cos(TAU * rayTurn), sin(TAU * rayTurn), HEART_STRETCH / size, 0.0);
}
