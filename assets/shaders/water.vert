#version 430 core
// The water surface at the bottom of the well: a flat grid lifted into a few
// travelling waves. The normal of the displaced surface comes from the
// waves' slopes; time 0 gives the frozen look when animation is off.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texcoord;

uniform mat4 viewProjMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform float time;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;

// Direction (xz), wavelength, amplitude and speed of each wave.
const int waveCount = 3;
const vec2 waveDirections[waveCount] = vec2[](vec2(0.8, 0.6), vec2(-0.45, 0.9), vec2(0.95, -0.3));
const vec3 waveShapes[waveCount] = vec3[](vec3(2.6, 0.030, 0.55), vec3(1.7, 0.018, 0.45), vec3(1.1, 0.010, 0.35));

void main()
{
    vec4 world = modelMatrix * vec4(position, 1.0);
    float height = 0.0;
    vec2 slope = vec2(0.0);
    for (int i = 0; i < waveCount; ++i) {
        float k = 6.2831853 / waveShapes[i].x;
        float phase = k * (dot(waveDirections[i], world.xz) - waveShapes[i].z * time);
        height += waveShapes[i].y * sin(phase);
        slope += waveShapes[i].y * k * cos(phase) * waveDirections[i];
    }
    world.y += height;
    worldPosition = world.xyz;
    // The flat grid's normal tilted by the slope of the waves.
    worldNormal = normalize(normalMatrix * normal + vec3(-slope.x, 0.0, -slope.y));
    uv = texcoord;
    gl_Position = viewProjMatrix * world;
}
