#include "RecordWriter.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t texelsPerLine = 16;

std::string formatted(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string floatLiteral(float value) {
    std::string text = formatted("%.6f", static_cast<double>(value));
    if (std::strtof(text.c_str(), nullptr) != value) {
        text = formatted("%.9e", static_cast<double>(value));
    }
    return text + "f";
}

std::string charcodeLiteral(std::uint32_t charcode) {
    char buffer[16];
    if (charcode > 0xFFFFu) {
        std::snprintf(buffer, sizeof buffer, "0x%08Xu", static_cast<unsigned>(charcode));
    } else {
        std::snprintf(buffer, sizeof buffer, "%u", static_cast<unsigned>(charcode));
    }
    return buffer;
}

std::string glyphLabel(const Glyph& glyph) {
    if (glyph.charcode == Glyph::solidCharcode) {
        return "solid glyph";
    }
    if (glyph.charcode == ' ') {
        return "space (32)";
    }
    if (glyph.charcode > ' ' && glyph.charcode <= '~') {
        return std::string(1, static_cast<char>(glyph.charcode)) + " (" +
               std::to_string(glyph.charcode) + ")";
    }
    return "(" + std::to_string(glyph.charcode) + ")";
}

void appendHeader(std::string& out, const RecordSource& source) {
    out += "// FontRecordData.generated.cpp - GENERATED FILE, DO NOT EDIT.\n";
    out += "//\n";
    out += "// Written by velmora_fontgen (tools/fontgen) from the font file " +
           source.fontFileName + "\n";
    out += "// of the Debian package " + source.fontPackage + ":\n";
    out += "//   " + source.faceName + ", " + source.faceVersion + ", rasterised at " +
           std::to_string(source.pixelSize) + " pixels.\n";
    out += "//   " + source.faceCopyright + "\n";
    out += "// The glyph images are the font's, under the SIL Open Font License 1.1\n";
    out += "// (tools/fontgen/font/OFL.txt). To change anything here, change the tool\n";
    out += "// or the font and run the tool again, as tools/fontgen/README.md shows.\n";
    out += "\n";
}

void appendAtlas(std::string& out, const FontRecord& record) {
    out += "    {\n";
    for (std::uint32_t row = 0; row < FontRecord::atlasSide; ++row) {
        out += "        // atlas row " + std::to_string(row) + "\n";
        for (std::uint32_t column = 0; column < FontRecord::atlasSide; ++column) {
            out += column % texelsPerLine == 0 ? "        " : " ";
            out += std::to_string(record.atlas[row * FontRecord::atlasSide + column]) + ",";
            if (column % texelsPerLine == texelsPerLine - 1) {
                out += "\n";
            }
        }
    }
    out += "    },\n";
}

void appendGlyph(std::string& out, std::uint32_t index, const Glyph& glyph) {
    out += "        // [" + std::to_string(index) + "] " + glyphLabel(glyph) + "\n";
    out += "        {" + charcodeLiteral(glyph.charcode) + ", " + std::to_string(glyph.width) +
           ", " + std::to_string(glyph.height) + ", " + std::to_string(glyph.offsetX) + ", " +
           std::to_string(glyph.offsetY) + ", " + floatLiteral(glyph.advanceX) + ", " +
           floatLiteral(glyph.advanceY) + ",\n";
    out += "         " + floatLiteral(glyph.s0) + ", " + floatLiteral(glyph.t0) + ", " +
           floatLiteral(glyph.s1) + ", " + floatLiteral(glyph.t1) + ", " +
           std::to_string(glyph.kerningCount) + ", {" + charcodeLiteral(glyph.kerning.charcode) +
           ", " + floatLiteral(glyph.kerning.amount) + "}},\n";
}

} // namespace

std::string formatRecordSource(const FontRecord& record, const RecordSource& source) {
    std::string out;
    appendHeader(out, source);
    // Hand-made formatting would change the bytes that the regeneration
    // check compares, and a 4096-line table gains nothing from it.
    out += "// clang-format off\n";
    out += "#include \"text/FontRecord.h\"\n";
    out += "\n";
    out += "const FontRecord fontRecord = {\n";
    out += "    " + std::to_string(record.atlasWidth) + ", // atlasWidth\n";
    out += "    " + std::to_string(record.atlasHeight) + ", // atlasHeight\n";
    out += "    " + std::to_string(record.atlasDepth) + ", // atlasDepth\n";
    appendAtlas(out, record);
    out += "    " + floatLiteral(record.fontSize) + ", // fontSize\n";
    out += "    " + floatLiteral(record.lineHeight) + ", // lineHeight\n";
    out += "    " + floatLiteral(record.lineGap) + ", // lineGap\n";
    out += "    " + floatLiteral(record.ascender) + ", // ascender\n";
    out += "    " + floatLiteral(record.descender) + ", // descender\n";
    out += "    " + std::to_string(record.glyphCount) + ", // glyphCount\n";
    out += "    {\n";
    for (std::uint32_t index = 0; index < FontRecord::glyphSlots; ++index) {
        appendGlyph(out, index, record.glyphs[index]);
    }
    out += "    },\n";
    out += "};\n";
    out += "// clang-format on\n";
    return out;
}
