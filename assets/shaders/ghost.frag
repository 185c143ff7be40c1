#version 430 core
// The ghost: the best run's fairy body, drawn with texture.vert, pale and
// see-through, most solid at its rim like a soap bubble, so the player's
// own fairy and the well show through it. Unlit, and with barely a glow of
// its own, so it never outshines the fairy it races.
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;

uniform vec3 camera_world;
uniform sampler2D diffuseTexture;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const float centreAlpha = 0.25;
const float rimAlpha = 0.6;
const float faintGlow = 0.08;

void main()
{
    vec3 base = texture(diffuseTexture, uv).rgb;
    vec3 V = normalize(camera_world - worldPosition);
    float facing = abs(dot(normalize(worldNormal), V));
    float alpha = mix(rimAlpha, centreAlpha, facing);
    vec3 pale = mix(base, vec3(1.0), 0.5);
    fragColor = vec4(pale, alpha);
    brightColor = vec4(pale * faintGlow, alpha);
}
