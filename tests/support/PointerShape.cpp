// Tells whether the X pointer is visible where it stands: prints "visible"
// when the cursor image under it has any opaque pixel, "hidden" when the
// image is wholly transparent (what a program gets from hiding the pointer).
//
//   velmora_pointer_shape
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    int eventBase = 0, errorBase = 0;
    XFixesCursorImage* image = XFixesQueryExtension(display, &eventBase, &errorBase)
                                   ? XFixesGetCursorImage(display)
                                   : nullptr;
    if (image == nullptr) {
        std::fprintf(stderr, "the X server does not report the cursor image\n");
        XCloseDisplay(display);
        return 2;
    }
    bool opaque = false;
    for (int i = 0; i < image->width * image->height; ++i) {
        // Each pixel is ARGB in an unsigned long; alpha is the top byte of 32.
        opaque = opaque || ((image->pixels[i] >> 24) & 0xff) != 0;
    }
    std::printf("%s\n", opaque ? "visible" : "hidden");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
