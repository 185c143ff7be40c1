#version 430 core
// Lightmap bake of the well wall: every vertex is drawn at its lightmap
// coordinate, so the wall unrolls once over the whole target, while the
// world position and normal travel on to lightmapGen.frag for the lighting.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 3) in vec2 lightmapCoord;

uniform mat4 uModelMatrix;
uniform mat3 uNormalMatrix;

out vec3 worldPosition;
out vec3 worldNormal;

void main()
{
    worldPosition = (uModelMatrix * vec4(position, 1.0)).xyz;
    worldNormal = uNormalMatrix * normal;
    gl_Position = vec4(lightmapCoord * 2.0 - 1.0, 0.0, 1.0);
}
