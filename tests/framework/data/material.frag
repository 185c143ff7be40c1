#version 330 core
uniform vec3 materialCoefficients;
uniform float specularAlpha;
uniform sampler2D diffuseTexture;
out vec4 color;
void main() {
    color = texture(diffuseTexture, vec2(0.5)) * vec4(materialCoefficients, specularAlpha);
}
