#version 430 core
// The light the three lights deliver to a point of the well's inner wall,
// written opaque into the RGB8 lightmap. Stored at half strength, so the wall
// can be lit up to twice its texture brightness (wellFinal scales it back).
// The well is a tube of radius 5 around the y axis from y = 0 to wellTop; its
// mesh normals point outwards, while the visible inner surface faces the axis.
// The sun and the open sky only reach the wall through the mouth of the well:
// the sun's light is cut off by the rim (a shadow line computed exactly for
// the cylinder), the sky's by how little of it is seen from deep down. The
// lamp and the fairy's light sit inside and need no shadow.
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

uniform float uNear;  // depth below the rim where the wall starts to darken
uniform float uFar;   // depth below the rim where the darkening is complete
uniform DirectionalLight dirL;
uniform PointLight pointL;
uniform PointLight fairyL;

layout(location = 0) out vec4 fragColor;

const float wellTop = 20.0;
const float wellRadius = 5.0;
const vec3 skyColor = vec3(0.529, 0.808, 0.922);
const float skyStrength = 0.9;
const vec3 ambient = vec3(0.05, 0.05, 0.06);
const float storedScale = 0.5;

float attenuate(vec3 attenuation, float d)
{
    return 1.0 / max(attenuation.x + attenuation.y * d + attenuation.z * d * d, 1e-4);
}

vec3 pointLight(PointLight light, vec3 N)
{
    vec3 toLight = light.position - worldPosition;
    float d = length(toLight);
    return light.color * attenuate(light.attenuation, d) * max(dot(N, toLight / max(d, 1e-4)), 0.0);
}

// How much of the sun passes the rim: the ray towards the sun crosses the
// well horizontally along a chord and must climb above the rim before it
// meets the far wall.
float sunVisibility(vec3 towardSun, float depth)
{
    vec2 across = towardSun.xz;
    float horizontal = length(across);
    if (towardSun.y <= 0.0)
        return 0.0;
    if (horizontal < 1e-4)
        return 1.0;
    float chord = max(-2.0 * dot(worldPosition.xz, across / horizontal), 0.0);
    float climb = chord * towardSun.y / horizontal;
    return smoothstep(-0.6, 0.6, climb - depth);
}

void main()
{
    vec3 N = -normalize(worldNormal);
    float depth = max(wellTop - worldPosition.y, 0.0);

    vec3 towardSun = normalize(-dirL.direction);
    vec3 sun = dirL.color * max(dot(N, towardSun), 0.0) * sunVisibility(towardSun, depth);

    // Share of the sky seen through the mouth, half of it at the rim.
    float skyShare = 0.5 * (1.0 - depth / sqrt(depth * depth + 4.0 * wellRadius * wellRadius));
    vec3 sky = skyColor * skyStrength * skyShare;

    // Light bounced down the shaft fades with depth.
    float bounce = mix(0.12, 0.03, smoothstep(uNear, uFar, depth));

    vec3 light = ambient + sky + bounce * dirL.color + sun + pointLight(pointL, N) + pointLight(fairyL, N);
    fragColor = vec4(clamp(light * storedScale, 0.0, 1.0), 1.0);
}
