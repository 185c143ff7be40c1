#version 430 core
// Shading of the water: fine ripples on top of the vertex waves, the base
// colour lit by the three lights, sharp highlights and a Fresnel mirror of
// the well: the reflected ray sees the sky where it leaves through the
// mouth of the well and the dark wall elsewhere. With draw_normals set it
// shows the surface normal as a colour instead. Always opaque.
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
in vec2 uv;

uniform vec3 camera_world;
uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform PointLight fairyL;
uniform vec3 materialCoefficients;  // ambient, diffuse, specular
uniform float specularAlpha;
uniform float time;
uniform vec3 baseColor;
uniform int draw_normals;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const vec3 skyColor = vec3(0.529, 0.808, 0.922);
const vec3 wallColor = vec3(0.13, 0.13, 0.17);
const float wellTop = 20.0;
const float wellRadius = 5.0;

float attenuate(vec3 attenuation, float d)
{
    return 1.0 / max(attenuation.x + attenuation.y * d + attenuation.z * d * d, 1e-4);
}

vec3 ripples(vec2 p)
{
    vec2 a = p * 9.0 + vec2(time * 1.3, time * 0.7);
    vec2 b = p.yx * 13.0 - vec2(time * 0.9, -time * 1.1);
    vec2 slope = 0.05 * vec2(cos(a.x) + 0.6 * cos(b.y), cos(a.y) + 0.6 * cos(b.x));
    return vec3(-slope.x, 0.0, -slope.y);
}

// The sun reaches the water only through the mouth of the well.
float sunThroughMouth(vec3 towardSun)
{
    vec2 atRim = worldPosition.xz + towardSun.xz * (wellTop - worldPosition.y) / max(towardSun.y, 1e-3);
    return (1.0 - smoothstep(wellRadius - 0.3, wellRadius + 0.3, length(atRim))) * step(0.0, towardSun.y);
}

vec3 shade(vec3 lightColor, vec3 L, vec3 N, vec3 V)
{
    float diffuse = max(dot(N, L), 0.0);
    // Sharp, strong highlights: the lights mirrored in the water.
    float specular = pow(max(dot(N, normalize(L + V)), 0.0), specularAlpha * 8.0) * step(0.0, dot(N, L));
    return lightColor * (materialCoefficients.y * diffuse * baseColor + materialCoefficients.z * 6.0 * specular);
}

void main()
{
    vec3 N = normalize(worldNormal + ripples(worldPosition.xz));
    if (draw_normals != 0) {
        fragColor = vec4(N * 0.5 + 0.5, 1.0);
        brightColor = vec4(0.0, 0.0, 0.0, 1.0);
        return;
    }
    vec3 V = normalize(camera_world - worldPosition);

    vec3 toPoint = pointL.position - worldPosition;
    vec3 toFairy = fairyL.position - worldPosition;
    float pointDistance = length(toPoint);
    float fairyDistance = length(toFairy);
    vec3 lit = materialCoefficients.x * 1.5 * baseColor;
    vec3 towardSun = normalize(-dirL.direction);
    lit += shade(dirL.color * sunThroughMouth(towardSun), towardSun, N, V);
    lit += shade(pointL.color * attenuate(pointL.attenuation, pointDistance), toPoint / pointDistance, N, V);
    lit += shade(fairyL.color * attenuate(fairyL.attenuation, fairyDistance), toFairy / fairyDistance, N, V);

    // Where the mirrored ray reaches the height of the rim decides sky or wall.
    vec3 R = reflect(-V, N);
    float rise = max(R.y, 1e-3);
    vec2 atRim = worldPosition.xz + R.xz * (wellTop - worldPosition.y) / rise;
    float seesSky = (1.0 - smoothstep(wellRadius - 0.6, wellRadius + 0.6, length(atRim))) * step(0.0, R.y);
    vec3 mirrored = mix(wallColor, skyColor, seesSky);
    float facing = 1.0 - max(dot(N, V), 0.0);
    float facing2 = facing * facing;
    float fresnel = 0.12 + 0.88 * facing2 * facing2 * facing;  // Schlick's fifth power

    vec3 color = mix(lit, mirrored, fresnel);
    fragColor = vec4(color, 1.0);
    brightColor = vec4(max(color - 0.9, 0.0) * 2.0, 1.0);
}
