#version 430 core
// The well wall as seen in the game: passes the tiled wall-texture
// coordinate, the lightmap coordinate and the world position and normal.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texcoord;
layout(location = 3) in vec2 lightmapCoord;

uniform mat4 viewProjMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 wallUv;
out vec2 lightmapUv;

void main()
{
    vec4 world = modelMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalMatrix * normal;
    wallUv = texcoord;
    lightmapUv = lightmapCoord;
    gl_Position = viewProjMatrix * world;
}
