#version 430 core
// One pass of the separable bloom blur over the full-screen quad. The three
// sample points of each pixel are worked out here, once per vertex, so the
// fragment stage only fetches and adds. The offsets are measured in window
// pixels, so the glow spreads as far on the screen whether its targets have
// the window's size or a half or a quarter of it.
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texcoord;

uniform int horizontal;  // 1: blur along x, 0: along y
uniform vec2 pixelStep;  // one window pixel in texture coordinates

out vec2 centreUv;
out vec2 beforeUv;
out vec2 afterUv;

// Halfway between the first and second neighbour: one bilinear fetch there
// reads both at equal weight.
const float pairOffset = 1.5;

void main()
{
    vec2 offset = (horizontal != 0 ? vec2(pixelStep.x, 0.0) : vec2(0.0, pixelStep.y)) * pairOffset;
    centreUv = texcoord;
    beforeUv = texcoord - offset;
    afterUv = texcoord + offset;
    gl_Position = vec4(position, 0.0, 1.0);
}
