#pragma once
// Where the picture goes in a drawable of any size: the show is drawn at
// 4:3, so it takes the largest centred 4:3 rectangle and the rest stays the
// clear colour (black). Used by the window when its size changes, by the
// recorder at any frame size and by the browser's canvas.
//
// Pure function, any thread. Sizes of 0 or less give an empty rectangle.

struct ViewportRect {
    int x = 0; // from the left edge
    int y = 0; // from the bottom edge, as glViewport counts
    int width = 0;
    int height = 0;

    bool operator==(const ViewportRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// The largest 4:3 rectangle centred in a drawable of the given size, in
// whole pixels: the side that does not fill is rounded to the nearest pixel
// and the margin left over is split with the odd pixel on the right or top.
ViewportRect fitViewport(int drawableWidth, int drawableHeight);
