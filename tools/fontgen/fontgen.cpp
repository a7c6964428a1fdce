// velmora_fontgen FONT_FILE OUTPUT_FILE
//
// Rasterises FONT_FILE at the show's text size and writes the font record
// as C++ source (text/FontRecordData.generated.cpp in the repository). The
// output depends only on the font file and the FreeType version, so running
// it again on the same machine gives the same bytes.

#include "FaceRaster.h"
#include "RecordBuilder.h"
#include "RecordWriter.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The show's texts and greeting offsets are measured against this size.
constexpr int pixelSize = 28;

// Quoted in the output. The committed record is made from this package's
// Dosis-ExtraBold.otf; keep it in step with README.md and
// scripts/packages/test.txt when the font changes.
constexpr const char* fontPackage = "fonts-dosis 1.7-3";

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Returns false when the file cannot be written completely.
bool writeFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmora_fontgen FONT_FILE OUTPUT_FILE\n");
        return 2;
    }
    const std::string fontPath = argv[1];
    const std::string outputPath = argv[2];

    FaceRaster raster;
    std::string error;
    if (!rasteriseFace(fontPath, pixelSize, raster, error)) {
        std::fprintf(stderr, "velmora_fontgen: %s\n", error.c_str());
        return 1;
    }
    // Heap: the record holds the 64 KiB atlas.
    const auto record = std::make_unique<FontRecord>();
    if (!buildFontRecord(raster, pixelSize, *record, error)) {
        std::fprintf(stderr, "velmora_fontgen: %s\n", error.c_str());
        return 1;
    }

    RecordSource source;
    source.fontFileName = fileNameOf(fontPath);
    source.fontPackage = fontPackage;
    source.faceName = raster.familyName + " " + raster.styleName;
    source.faceVersion = raster.version;
    source.faceCopyright = raster.copyright;
    source.pixelSize = pixelSize;
    if (!writeFile(outputPath, formatRecordSource(*record, source))) {
        std::fprintf(stderr, "velmora_fontgen: cannot write %s\n", outputPath.c_str());
        return 1;
    }
    return 0;
}
