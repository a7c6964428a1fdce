#version 330 core
// The full-screen quad: clip-space corners, passed on so the fragment stage
// knows where on the screen it is without knowing the window size.
layout(location = 0) in vec2 position;

out vec2 screenPosition;

void main() {
    screenPosition = position;
    gl_Position = vec4(position, 0.0, 1.0);
}
