#version 330 core
out vec4 color;
