// Preloaded into the show: GLEW finds no OpenGL function beyond 1.1, as with
// a driver that offers none. SDL looks its own GLX functions up in the GL
// library directly and still makes its context.
typedef void (*GlFunction)(void);

GlFunction glXGetProcAddressARB(const unsigned char* name) {
    (void)name;
    return 0;
}

GlFunction glXGetProcAddress(const unsigned char* name) {
    (void)name;
    return 0;
}
