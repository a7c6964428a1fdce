// Places rectangles in a square atlas with one empty texel between them.
#pragma once

#include <vector>

struct TexelRect {
    int x = 0; // left column
    int y = 0; // top row
    int width = 0;
    int height = 0;
};

// Row 0 and column 0 are never used. Rectangles go first into the top row,
// left to right in the order they come, each one texel right of the previous
// one; the first rectangle that does not fit there closes that row for good,
// and from then on every rectangle takes the highest free spot below it
// (leftmost among equals) above a per-column skyline. Each placement also
// claims one column to its right and one row below it, which is what keeps
// later rectangles a texel away.
class AtlasPacker {
public:
    explicit AtlasPacker(int side);

    // Places a width x height rectangle (zero sizes allowed) and writes where
    // to `placed`. Returns false, leaving the packer unchanged, when no spot
    // is left or a size is negative.
    bool place(int width, int height, TexelRect& placed);

private:
    bool findSpotBelowTopRow(int width, int height, TexelRect& spot) const;
    void claim(const TexelRect& rect);

    int side;
    std::vector<int> freeFromRow; // per column, first row no rectangle claims
    bool topRowOpen = true;
    int topRowNextColumn = 1;
};
