#version 430 core
// The atlas holds a distance field in alpha: u_edge on a glyph's outline,
// more inside, less outside. Inside is the fill colour, a band outside it
// the outline colour, with about a pixel of smoothing at each edge whatever
// the size on screen.
in vec2 v_uv;

uniform sampler2D u_atlas;
uniform vec4 u_fillColor;
uniform vec4 u_outlineColor;
uniform float u_edge;
uniform float u_outlineEdge;

out vec4 fragColor;

void main()
{
    float field = texture(u_atlas, v_uv).a;
    float smoothing = max(fwidth(field) * 0.5, 1e-4);
    float fill = smoothstep(u_edge - smoothing, u_edge + smoothing, field);
    float ink = smoothstep(u_outlineEdge - smoothing, u_outlineEdge + smoothing, field);
    vec4 color = mix(u_outlineColor, u_fillColor, fill);
    fragColor = vec4(color.rgb, color.a * ink);
}
