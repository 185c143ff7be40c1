#version 430 core
// One blur pass: a five-texel box along one axis, read with three bilinear
// fetches (the centre, and each pair of neighbours merged into one fetch).
// The ten alternating passes of a frame compound the boxes into a smooth,
// nearly Gaussian blur (sigma about 3.2 texels per axis). The weights add up
// to one, so an even area keeps its value. The result is opaque: the frame
// may leave blending on, and the scene's alpha (below 1 where clouds or
// sparks were blended in) must not mix in what the target held before.
in vec2 centreUv;
in vec2 beforeUv;
in vec2 afterUv;

uniform sampler2D image;

layout(location = 0) out vec4 fragColor;

void main()
{
    vec4 sum = textureLod(image, centreUv, 0.0) * 0.2;
    sum += (textureLod(image, beforeUv, 0.0) + textureLod(image, afterUv, 0.0)) * 0.4;
    fragColor = vec4(sum.rgb, 1.0);
}
