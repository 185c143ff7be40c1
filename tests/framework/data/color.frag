#version 330 core
// Uses one uniform of every type Shader can set, so none is optimised away.
uniform vec3 tint;
uniform vec4 offset;
uniform float gain;
uniform int mode;
uniform mat3 turn;
uniform mat4 warp;
out vec4 color;
void main() {
    vec4 turned = warp * vec4(turn * tint, 1.0);
    color = (mode == 1 ? turned : vec4(tint, 1.0)) * gain + offset;
}
