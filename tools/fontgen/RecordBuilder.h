// Lays rasterised glyphs out as the show's font record.
#pragma once

#include "FaceRaster.h"
#include "text/FontRecord.h"

#include <string>

// Fills `record` from `raster` (95 printable glyphs, rendered at `pixelSize`):
// solid block and solid glyph first, then the glyphs in charcode order,
// packed into the atlas, with six-decimal texture coordinates and the face's
// metrics. Returns false with `error` set, `record` then being incomplete,
// when the raster does not hold exactly the printable glyphs in order or
// they do not all fit in the atlas.
bool buildFontRecord(const FaceRaster& raster, int pixelSize, FontRecord& record,
                     std::string& error);
