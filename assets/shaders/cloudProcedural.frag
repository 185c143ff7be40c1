#version 430 core
// Soft drifting clouds: two layers of fractal value noise moving at
// different speeds, cut into puffs with clear gaps. The alpha carries the
// cover, so the sky shows between the puffs, and it fades to nothing
// towards the edges of the layer. Seen at a grazing angle the layer looks
// thicker. Clouds are white with grey, thicker middles; they bloom a little.
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;

uniform vec3 camera_world;
uniform float time;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const float patternScale = 7.0;
const vec2 drift = vec2(0.011, 0.006);

float hash(vec2 p)
{
    vec3 q = fract(vec3(p.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

float valueNoise(vec2 p)
{
    vec2 cell = floor(p);
    vec2 f = fract(p);
    vec2 w = f * f * (3.0 - 2.0 * f);
    float a = hash(cell);
    float b = hash(cell + vec2(1.0, 0.0));
    float c = hash(cell + vec2(0.0, 1.0));
    float d = hash(cell + vec2(1.0, 1.0));
    return mix(mix(a, b, w.x), mix(c, d, w.x), w.y);
}

float fbm(vec2 p, int octaves)
{
    float sum = 0.0;
    float amplitude = 0.5;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * valueNoise(p);
        p = mat2(1.6, 1.2, -1.2, 1.6) * p + 17.0;
        amplitude *= 0.5;
    }
    return sum;
}

void main()
{
    vec2 p = uv * patternScale;
    float shape = fbm(p + drift * patternScale * time, 5);
    float detail = fbm(p * 2.3 - drift.yx * patternScale * 1.7 * time + 5.0, 3);
    float density = shape * 0.75 + detail * 0.25;

    float cover = smoothstep(0.42, 0.68, density);
    vec2 fromCentre = abs(uv - 0.5);
    float edgeFade = 1.0 - smoothstep(0.3, 0.48, max(fromCentre.x, fromCentre.y));

    vec3 V = normalize(camera_world - worldPosition);
    float grazing = 1.0 - abs(dot(normalize(worldNormal), V));
    float alpha = clamp(cover * (0.85 + 0.3 * grazing), 0.0, 1.0) * edgeFade;

    float thickness = smoothstep(0.5, 0.85, density);
    vec3 color = mix(vec3(1.0, 1.0, 1.0), vec3(0.74, 0.77, 0.82), thickness);

    fragColor = vec4(color, alpha);
    brightColor = vec4(color * 1.2, alpha);
}
