// Texture coordinates of atlas texel edges, as the font record stores them.
#pragma once

#include <cstdint>

// k/256 rounded to six decimals, exact ties to the even digit, in millionths:
// 3 -> 11719 (0.01171875), 146 -> 570312 (0.5703125, a tie). Computed in
// integers so the record does not depend on the C library's printf.
// Cannot fail for k <= 256 (the atlas side); larger k are not meaningful.
std::uint32_t texCoordMillionths(std::uint32_t texel);

// The six-decimal value of texCoordMillionths(texel) converted to the
// nearest float, which is what the record holds. Cannot fail.
float texCoordFromTexel(std::uint32_t texel);
