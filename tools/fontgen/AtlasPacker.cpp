#include "AtlasPacker.h"

#include <algorithm>

namespace {
constexpr int firstUsable = 1; // row 0 and column 0 stay empty
}

AtlasPacker::AtlasPacker(int atlasSide) : side(atlasSide), freeFromRow(atlasSide, firstUsable) {}

bool AtlasPacker::place(int width, int height, TexelRect& placed) {
    if (width < 0 || height < 0) {
        return false;
    }
    if (topRowOpen) {
        const TexelRect spot{topRowNextColumn, firstUsable, width, height};
        if (spot.x + width <= side && spot.y + height <= side) {
            claim(spot);
            topRowNextColumn = spot.x + width + 1;
            placed = spot;
            return true;
        }
        topRowOpen = false;
    }
    TexelRect spot;
    if (!findSpotBelowTopRow(width, height, spot)) {
        return false;
    }
    claim(spot);
    placed = spot;
    return true;
}

bool AtlasPacker::findSpotBelowTopRow(int width, int height, TexelRect& spot) const {
    bool found = false;
    for (int x = firstUsable; x + width <= side; ++x) {
        // The column right of the rectangle must be free too, unless it is
        // past the atlas edge.
        const int claimedEnd = std::min(x + width + 1, side);
        const int y = *std::max_element(freeFromRow.begin() + x, freeFromRow.begin() + claimedEnd);
        // Spots still at the top row's height would continue the closed top
        // row out of order.
        if (y == firstUsable || y + height > side) {
            continue;
        }
        if (!found || y < spot.y) {
            spot = TexelRect{x, y, width, height};
            found = true;
        }
    }
    return found;
}

void AtlasPacker::claim(const TexelRect& rect) {
    const int claimedEnd = std::min(rect.x + rect.width + 1, side);
    for (int x = rect.x; x < claimedEnd; ++x) {
        freeFromRow[x] = rect.y + rect.height + 1;
    }
}
