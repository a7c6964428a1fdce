#include "support/TextWidth.h"

#include "text/TextLayout.h"

float textWidth(const FontRecord& font, const std::string& text, float scaleDivX) {
    float pixels = 0.0f;
    for (const char byte : text) {
        if (const Glyph* glyph = glyphForByte(font, byte)) {
            pixels += glyph->advanceX;
        }
    }
    return pixels / scaleDivX;
}
