#version 430 core
// One character of the HUD's words: the instance's pixel rectangle, its
// corners made from the vertex number (a strip of four), and the matching
// corner of its cell in the font atlas.
layout(location = 0) in vec4 a_screen;  // left, bottom, right, top in pixels
layout(location = 1) in vec4 a_atlas;   // u left, v bottom, u right, v top

uniform mat4 u_ortho;

out vec2 v_uv;

void main()
{
    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    gl_Position = u_ortho * vec4(mix(a_screen.xy, a_screen.zw, corner), 0.0, 1.0);
    v_uv = mix(a_atlas.xy, a_atlas.zw, corner);
}
