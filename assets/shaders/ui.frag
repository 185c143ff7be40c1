#version 430 core
// Overlay shapes are flat: every fragment takes the one colour, alpha included.
uniform vec4 u_color;

out vec4 fragColor;

void main()
{
    fragColor = u_color;
}
