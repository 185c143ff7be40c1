#version 430 core
// A soft round spark: a warm-white core fading to a golden rim, faded by the
// spark's age. Output 1 carries a brighter copy for the bloom.
in vec2 v_uv;
in vec4 v_color;

layout(location = 0) out vec4 fragColor;
layout(location = 1) out vec4 brightColor;

const vec3 rimColor = vec3(1.0, 0.78, 0.35);
const vec3 coreColor = vec3(1.0, 0.97, 0.88);

void main()
{
    float radius = length(v_uv * 2.0 - 1.0);
    float falloff = 1.0 - smoothstep(0.0, 1.0, radius);
    float core = falloff * falloff * falloff;
    vec3 spark = mix(rimColor, coreColor, core) * v_color.rgb;
    float alpha = v_color.a * falloff;
    fragColor = vec4(spark, alpha);
    brightColor = vec4(spark * (1.0 + 2.0 * core), alpha);
}
