#version 430 core
// The least a full-screen pass can do: one texel fetched and written per pixel.
in vec2 uv;

uniform sampler2D image;

layout(location = 0) out vec4 fragColor;

void main()
{
    fragColor = textureLod(image, uv, 0.0);
}
