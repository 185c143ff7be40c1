#version 430 core
// The displayed image: the scene plus the bloom, then the tone map.
// Only glow brighter than white, and brighter than the scene already is at
// that pixel, is added: max(bloom - max(scene, 1), 0). The open sky is the
// sky colour (below 1) in both images, so neither it nor its blur onto dark
// things around it adds anything, and it stays sky blue; a strong glow
// spills onto its surroundings as a halo. Colours are in display space (no gamma
// step): the tone map leaves everything below the knee as it is and rolls
// brighter values off exponentially towards 1, 1 - exp(-x), so strong
// glows turn white instead of clipping.
in vec2 uv;

uniform sampler2D sceneTexture;
uniform sampler2D bloomTexture;
uniform float exposure;
uniform float bloomIntensity;

layout(location = 0) out vec4 fragColor;

const float knee = 0.75;
const float bloomFloor = 1.0;

vec3 toneMap(vec3 color)
{
    vec3 over = max(color - knee, 0.0);
    return min(color, knee) + (1.0 - knee) * (1.0 - exp(-over / (1.0 - knee)));
}

void main()
{
    vec3 scene = max(textureLod(sceneTexture, uv, 0.0).rgb, 0.0);
    vec3 bloom = max(textureLod(bloomTexture, uv, 0.0).rgb, 0.0);
    vec3 color = scene + bloomIntensity * max(bloom - max(scene, bloomFloor), 0.0);
    fragColor = vec4(toneMap(color * exposure), 1.0);
}
