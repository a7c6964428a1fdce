#version 330 core
// A beating heart on a dark stage, with heart-shaped ripples on every beat.
//
// "time" runs from -1 to just under 27 and jumps back every cycle. Every
// motion here repeats a whole number of times per 28 units, so the jump
// is invisible: the beat (5 per unit, 75 per minute), the turning rays
// and the colour drift.

in vec2 screenPosition; // -1..1 across and up the window

uniform float time;

out vec4 fragColor;

const float TAU = 6.28318531;
const float CYCLE = 28.0;
const float BEATS_PER_UNIT = 5.0;
const float ASPECT = 4.0 / 3.0; // the window is 800 x 600

float squaredLength(vec2 v) { return dot(v, v); }

// Signed distance to a heart of height about 1 standing on its tip at the
// origin: two quarter circles meeting a V. Negative inside.
float heartDistance(vec2 p) {
    p.x = abs(p.x);
    if (p.x + p.y > 1.0) {
        return sqrt(squaredLength(p - vec2(0.25, 0.75))) - sqrt(2.0) / 4.0;
    }
    return sqrt(min(squaredLength(p - vec2(0.0, 1.0)),
                    squaredLength(p - 0.5 * max(p.x + p.y, 0.0)))) *
           sign(p.x - p.y);
}

// A soft pulse that rises smoothly to 1 at `peak` and decays after it.
float pulse(float x, float peak) {
    float k = max(x, 0.0) / peak;
    return k * exp(1.0 - k);
}

void main() {
    vec2 p = vec2(screenPosition.x * ASPECT, screenPosition.y);

    // The beat: "lub" then a softer "dub", 75 times a minute.
    float beatPhase = fract(time * BEATS_PER_UNIT);
    float beat = pulse(beatPhase, 0.06) + 0.6 * pulse(beatPhase - 0.2, 0.06);
    float drift = sin(time * TAU / CYCLE);

    // Heart space: centred on the screen, swelling with the beat.
    float size = 0.92 * (1.0 + 0.07 * beat);
    vec2 h = (p - vec2(0.0, -0.56 * size)) / size;
    h.y *= 1.06;
    float d = heartDistance(h) * size;
    float pixel = fwidth(d);

    // Stage: a dark violet vignette warmed by the heart's glow.
    float radius = length(p);
    vec3 stageInner = mix(vec3(0.16, 0.03, 0.12), vec3(0.10, 0.03, 0.18), 0.5 + 0.5 * drift);
    vec3 stage = mix(stageInner, vec3(0.015, 0.005, 0.03), smoothstep(0.2, 1.6, radius));

    // Ripples: heart-shaped rings leaving the heart on each beat.
    float rings = 0.0;
    for (int i = 0; i < 2; ++i) {
        float age = fract(beatPhase + 0.5 * float(i));
        float ringDistance = d - age * 0.9;
        rings += exp(-abs(ringDistance) * 28.0) * smoothstep(0.0, 0.1, age) * (1.0 - age) * (1.0 - age);
    }
    stage += vec3(0.55, 0.08, 0.28) * rings * 0.5;

    // Soft rays turning slowly behind the heart, twice per cycle.
    float angle = atan(p.y + 0.1, p.x);
    float rays = pow(0.5 + 0.5 * sin(angle * 9.0 + time * 2.0 * TAU / CYCLE), 6.0);
    stage += vec3(0.20, 0.04, 0.16) * rays * exp(-radius * 1.6) * (0.6 + 0.4 * drift);

    // Glow around the outline, brighter on the beat.
    float glow = exp(-max(d, 0.0) * 7.0) * (0.35 + 0.45 * beat);
    stage += vec3(0.9, 0.12, 0.35) * glow * 0.5;

    // The heart itself: a rounded cushion, lit from the upper left. Its
    // height grows from the outline inwards and flattens well before the
    // middle, where the distance field creases, so the surface stays smooth.
    // The normal comes from the height's screen derivatives divided by the
    // position's, so it does not depend on the window size.
    float inner = max(-d, 0.0);
    float depth = clamp(inner / 0.05, 0.0, 1.0);
    float height = (1.0 - exp(-inner / 0.09)) * 0.12;
    vec2 slope = vec2(dFdx(height) / dFdx(p.x), dFdy(height) / dFdy(p.y));
    vec3 normal = normalize(vec3(-slope, 1.0));
    vec3 light = normalize(vec3(-0.5, 0.6, 0.65));
    float diffuse = max(dot(normal, light), 0.0);
    float specular = pow(max(dot(reflect(-light, normal), vec3(0.0, 0.0, 1.0)), 0.0), 24.0);
    vec3 deep = vec3(0.36, 0.0, 0.06);
    vec3 bright = mix(vec3(0.93, 0.10, 0.26), vec3(1.0, 0.20, 0.40), 0.5 + 0.5 * drift);
    vec3 body = mix(deep, bright, 0.15 + 0.85 * diffuse);
    body += vec3(1.0, 0.8, 0.85) * specular * 0.55;
    vec2 sheenCentre = vec2(-0.24, 0.36) * size;
    float sheen = exp(-squaredLength((p - sheenCentre) * vec2(1.0, 1.6)) * 14.0);
    body += vec3(1.0, 0.7, 0.8) * sheen * 0.35 * depth;
    body += vec3(0.30, 0.03, 0.08) * beat * 0.4;
    // A darker rim keeps the outline crisp against the glow.
    body = mix(deep * 0.7, body, smoothstep(0.0, 0.5, depth));

    float inside = 1.0 - smoothstep(-pixel, pixel, d);
    vec3 colour = mix(stage, body, inside);

    fragColor = vec4(colour, 1.0);
}
