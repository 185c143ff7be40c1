#version 330 core
in vec3 worldNormal;
uniform vec3 materialCoefficients;
uniform float specularAlpha;
out vec4 color;
void main() {
    color = vec4(materialCoefficients, specularAlpha);
    // Never true for unit normals; it only keeps normalMatrix alive.
    if (worldNormal.x > 1.0e9)
        color = vec4(0.0);
}
