// Writes a font record as C++ source that defines `fontRecord`.
#pragma once

#include "text/FontRecord.h"

#include <string>

// Where the record came from, quoted in the generated file's header.
struct RecordSource {
    std::string fontFileName; // file name only: paths differ between machines
    std::string fontPackage;  // Debian package name and version
    std::string faceName;     // family and style
    std::string faceVersion;
    std::string faceCopyright;
    int pixelSize = 0;
};

// The complete text of FontRecordData.generated.cpp for `record`. Floats
// are written with six decimals where that reads back as the same float
// (every texture coordinate and 1/64 multiple does) and with nine
// significant digits otherwise, so the source always compiles back to
// exactly `record`. The same input always gives the same text. Cannot fail.
std::string formatRecordSource(const FontRecord& record, const RecordSource& source);
