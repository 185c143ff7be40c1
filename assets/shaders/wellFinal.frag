#version 430 core
// The well wall: stone texture times the baked light, with the fairy's light
// moved to where the fairy is now. The bake holds the fairy's light at its
// start point; that share is taken out again and the live light put in, so
// a blue glow travels up the wall with the fairy. A faint specular sheen
// makes the damp stone catch the lights; the sun's only where it passes the
// rim of the well. Only the fairy's glow spot blooms, and only when the
// fairy is close.
struct DirectionalLight {
    vec3 color;
    vec3 direction;
};
struct PointLight {
    vec3 color;
    vec3 position;
    vec3 attenuation;  // constant, linear, quadratic
};

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 wallUv;
in vec2 lightmapUv;

uniform vec3 camera_world;
uniform DirectionalLight dirLight;
uniform PointLight pointLight;
uniform PointLight fairyL;
uniform sampler2D u_diffuseTex;
uniform sampler2D u_lightmap;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

// The bake stores half the light (lightmapGen.frag) with the fairy at its start.
const float lightmapScale = 2.0;
const vec3 bakedFairyPosition = vec3(0.0, 5.0, 0.0);
const float wellTop = 20.0;

float attenuate(vec3 attenuation, float d)
{
    return 1.0 / max(attenuation.x + attenuation.y * d + attenuation.z * d * d, 1e-4);
}

// The fairy's light on the wall as the bake computes it, for any position.
vec3 fairyLight(vec3 lightPosition, vec3 N)
{
    vec3 toLight = lightPosition - worldPosition;
    float d = length(toLight);
    return fairyL.color * attenuate(fairyL.attenuation, d) * max(dot(N, toLight / max(d, 1e-4)), 0.0);
}

// x to the 24th by squaring: the same value as pow(x, 24.0) at a fraction
// of its cost on a software rasterizer.
float pow24(float x)
{
    float x2 = x * x;
    float x4 = x2 * x2;
    float x8 = x4 * x4;
    return x8 * x8 * x8;
}

float sheen(vec3 lightPosition, vec3 N, vec3 V)
{
    vec3 L = normalize(lightPosition - worldPosition);
    return pow24(max(dot(N, normalize(L + V)), 0.0)) * step(0.0, dot(N, L));
}

float sunSheen(vec3 N, vec3 V)
{
    vec3 towardSun = normalize(-dirLight.direction);
    float horizontal = max(length(towardSun.xz), 1e-4);
    // Same rim test as the bake: the ray to the sun must clear the rim.
    float chord = max(-2.0 * dot(worldPosition.xz, towardSun.xz / horizontal), 0.0);
    float visible = smoothstep(-0.6, 0.6, chord * towardSun.y / horizontal - (wellTop - worldPosition.y));
    return visible * pow24(max(dot(N, normalize(towardSun + V)), 0.0)) * step(0.0, dot(N, towardSun));
}

void main()
{
    vec3 stone = texture(u_diffuseTex, wallUv).rgb;
    vec3 baked = texture(u_lightmap, lightmapUv).rgb * lightmapScale;
    vec3 N = -normalize(worldNormal);
    vec3 V = normalize(camera_world - worldPosition);

    vec3 liveFairy = fairyLight(fairyL.position, N);
    vec3 light = max(baked - fairyLight(bakedFairyPosition, N), 0.0) + liveFairy;

    float pointDistance = distance(pointLight.position, worldPosition);
    float fairyDistance = distance(fairyL.position, worldPosition);
    vec3 pointColor = pointLight.color * attenuate(pointLight.attenuation, pointDistance);
    vec3 fairyColor = fairyL.color * attenuate(fairyL.attenuation, fairyDistance);
    vec3 wet = 0.15 * (dirLight.color * sunSheen(N, V) + pointColor * sheen(pointLight.position, N, V) +
                       fairyColor * sheen(fairyL.position, N, V));

    vec3 color = stone * light + wet;
    fragColor = vec4(color, 1.0);
    float near = 1.0 - smoothstep(0.3, 1.5, fairyDistance);
    brightColor = vec4(stone * liveFairy * near * 3.0, 1.0);
}
