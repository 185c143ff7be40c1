#version 430 core
// Blinn-Phong lighting of a textured surface by the sun (inside the well
// only where it shines in through the mouth), the lamp and the fairy's
// light, with view-dependent glitter flakes on texture-mapped surfaces and a
// glow for the surface that holds the fairy's light (the fairy body).
// Output 0 is the lit colour, output 1 what should bloom.
// Always opaque: the texture's alpha is ignored, so a model that samples a
// transparent texel (it has no texture coordinates) still shows.
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
uniform sampler2D diffuseTexture;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

// Ambient light from the sky above and the dark ground below.
const float ambientBelow = 0.5;
const float ambientAbove = 1.0;
// Glitter flakes per unit of texture coordinate (around the ring, around its tube).
const vec2 flakeGrid = vec2(48.0, 12.0);
// A surface this close to the fairy's light is the fairy itself (radius 0.1).
const float glowInner = 0.105;
const float glowOuter = 0.14;
// Lit colour above this starts to bloom.
const float bloomThreshold = 1.1;
const float wellTop = 20.0;
const float wellRadius = 5.0;

float attenuate(vec3 attenuation, float d)
{
    return 1.0 / max(attenuation.x + attenuation.y * d + attenuation.z * d * d, 1e-4);
}

vec3 shade(vec3 lightColor, vec3 L, vec3 N, vec3 V, vec3 base)
{
    float diffuse = max(dot(N, L), 0.0);
    vec3 H = normalize(L + V);
    float specular = diffuse > 0.0 ? pow(max(dot(N, H), 0.0), max(specularAlpha, 1.0)) : 0.0;
    // Highlights take on some of the surface's colour, as on gold.
    vec3 highlight = mix(vec3(1.0), base, 0.6);
    return lightColor * (materialCoefficients.y * diffuse * base + materialCoefficients.z * specular * highlight);
}

// Inside the well the sun reaches only what sees it through the mouth.
float sunThroughMouth(vec3 towardSun)
{
    if (worldPosition.y >= wellTop || length(worldPosition.xz) > wellRadius)
        return 1.0;
    vec2 atRim = worldPosition.xz + towardSun.xz * (wellTop - worldPosition.y) / max(towardSun.y, 1e-3);
    return (1.0 - smoothstep(wellRadius - 0.3, wellRadius + 0.3, length(atRim))) * step(0.0, towardSun.y);
}

vec3 hash3(vec2 cell)
{
    vec3 p = fract(vec3(cell.xyx) * vec3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yxz + 33.33);
    return fract((p.xxy + p.yzz) * p.zyx);
}

// A flake flashes when its tilted normal mirrors one of the lights into the eye.
float glint(vec3 flakeNormal, vec3 L, vec3 V)
{
    // The 90th power by squaring (64 + 16 + 8 + 2), much cheaper than pow().
    float x2 = max(dot(flakeNormal, normalize(L + V)), 0.0);
    x2 *= x2;
    float x8 = x2 * x2 * x2 * x2;
    float x16 = x8 * x8;
    float x64 = x16 * x16 * x16 * x16;
    return x64 * x16 * x8 * x2;
}

void main()
{
    vec3 base = texture(diffuseTexture, uv).rgb;
    vec3 V = normalize(camera_world - worldPosition);
    // Thin models (wings, flag) are seen from both sides.
    vec3 N = normalize(worldNormal);
    N = faceforward(N, -V, N);

    vec3 toPoint = pointL.position - worldPosition;
    vec3 toFairy = fairyL.position - worldPosition;
    float pointDistance = length(toPoint);
    float fairyDistance = length(toFairy);
    vec3 Ld = normalize(-dirL.direction);
    vec3 Lp = toPoint / max(pointDistance, 1e-4);
    vec3 Lf = toFairy / max(fairyDistance, 1e-4);
    vec3 pointColor = pointL.color * attenuate(pointL.attenuation, pointDistance);
    vec3 fairyColor = fairyL.color * attenuate(fairyL.attenuation, fairyDistance);

    vec3 lit = materialCoefficients.x * mix(ambientBelow, ambientAbove, N.y * 0.5 + 0.5) * base;
    vec3 sunColor = dirL.color * sunThroughMouth(Ld);
    lit += shade(sunColor, Ld, N, V, base);
    lit += shade(pointColor, Lp, N, V, base);
    lit += shade(fairyColor, Lf, N, V, base);

    // Glitter only where a texture is really mapped: the OBJ models have one
    // constant coordinate, whose derivatives are zero.
    float mapped = step(1e-7, fwidth(uv.x) + fwidth(uv.y));
    vec2 flakeCoord = uv * flakeGrid;
    vec3 jitter = hash3(floor(flakeCoord));
    float inFlake = step(0.55, jitter.z) * smoothstep(0.5, 0.25, length(fract(flakeCoord) - 0.5));
    vec3 flakeNormal = normalize(N + 0.7 * (jitter - 0.5));
    // The last term is a light at the eye, so the flakes twinkle as the view moves.
    float flash = glint(flakeNormal, Ld, V) * 1.5 * length(sunColor) +
                  glint(flakeNormal, Lp, V) * 4.0 * length(pointColor) +
                  glint(flakeNormal, Lf, V) * 4.0 * length(fairyColor) + glint(flakeNormal, V, V) * 0.6;
    vec3 sparkle = mapped * inFlake * materialCoefficients.z * flash * mix(base, vec3(1.0, 0.96, 0.85), 0.6) * 3.0;

    // The fairy shines pale in the colour of its texture and blooms in the
    // colour of its light.
    float glow = 1.0 - smoothstep(glowInner, glowOuter, fairyDistance);

    fragColor = vec4(lit + sparkle + glow * base * 0.6, 1.0);
    brightColor = vec4(max(lit - bloomThreshold, 0.0) + sparkle * 1.5 + glow * fairyL.color * 10.0, 1.0);
}
