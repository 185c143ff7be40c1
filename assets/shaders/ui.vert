#version 430 core
// Overlay shapes: pixel positions placed by the model matrix, then mapped to
// clip space by the pixel projection.
layout(location = 0) in vec2 a_position;

uniform mat4 u_ortho;
uniform mat4 u_model;

void main()
{
    gl_Position = u_ortho * u_model * vec4(a_position, 0.0, 1.0);
}
