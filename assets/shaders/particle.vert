#version 430 core
// One spark of the fairy's trail: a quad around the instance centre, turned
// to face the camera and shrinking as the spark's life runs out.
layout(location = 0) in vec2 a_corner;      // +-0.003
layout(location = 1) in vec2 a_uv;
layout(location = 2) in vec4 a_centreLife;  // world centre, seconds left
layout(location = 3) in vec4 a_color;       // alpha = life / 1.5

uniform mat4 u_viewProj;
uniform mat4 u_view;

out vec2 v_uv;
out vec4 v_color;

// The stored corners are tiny; this sets the spark's size on screen.
const float sparkScale = 12.0;

void main()
{
    // The rows of the view matrix are the camera's axes in world space.
    vec3 cameraRight = vec3(u_view[0][0], u_view[1][0], u_view[2][0]);
    vec3 cameraUp = vec3(u_view[0][1], u_view[1][1], u_view[2][1]);
    float size = sparkScale * mix(0.5, 1.0, clamp(a_color.a, 0.0, 1.0));
    vec3 world = a_centreLife.xyz + (cameraRight * a_corner.x + cameraUp * a_corner.y) * size;
    gl_Position = u_viewProj * vec4(world, 1.0);
    v_uv = a_uv;
    v_color = a_color;
}
