#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
out vec3 worldNormal;
void main() {
    worldNormal = normalMatrix * normal;
    gl_Position = modelMatrix * vec4(position, 1.0);
}
