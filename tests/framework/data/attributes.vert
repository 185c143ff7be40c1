#version 330 core
// Shows which attributes reach the program: red is the lightmap
// coordinate's u, green the normal's y, blue the texture coordinate's v. A
// disabled attribute reads (0, 0, 0, 1).
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;
layout(location = 3) in vec2 lightmapUV;
uniform mat4 modelMatrix;
out vec3 shade;
void main() {
    shade = vec3(lightmapUV.x, normal.y, uv.y);
    gl_Position = modelMatrix * vec4(position, 1.0);
}
