#version 430 core
// The least a composite can do: two texels fetched, added and written per pixel.
in vec2 uv;

uniform sampler2D sceneTexture;
uniform sampler2D bloomTexture;

layout(location = 0) out vec4 fragColor;

void main()
{
    fragColor = vec4(textureLod(sceneTexture, uv, 0.0).rgb + textureLod(bloomTexture, uv, 0.0).rgb, 1.0);
}
