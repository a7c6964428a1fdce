#include "render/Viewport.h"

#include "base/ShowConstants.h"

ViewportRect fitViewport(int drawableWidth, int drawableHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0) {
        return {};
    }
    // Whole-number arithmetic in 64 bits: sizes times the aspect's terms.
    const long long width = drawableWidth;
    const long long height = drawableHeight;
    ViewportRect rect;
    if (width * windowHeight >= height * windowWidth) {
        // Wider than 4:3 (or exactly): full height, bars left and right.
        rect.height = drawableHeight;
        rect.width =
            static_cast<int>((2 * height * windowWidth + windowHeight) / (2 * windowHeight));
        rect.x = (drawableWidth - rect.width) / 2;
    } else {
        // Taller: full width, bars above and below.
        rect.width = drawableWidth;
        rect.height =
            static_cast<int>((2 * width * windowHeight + windowWidth) / (2 * windowWidth));
        rect.y = (drawableHeight - rect.height) / 2;
    }
    return rect;
}
