#pragma once
// Opening files whose paths are UTF-8, as SDL_GetBasePath gives them.
//
// Windows' narrow file calls (fopen, std::ifstream of a char path) read a path
// in the ANSI code page, so a show unpacked under C:\Users\José or a folder
// named with a heart would find none of its files there. These go through
// the wide-character calls on Windows and the ordinary ones elsewhere.
#include <cstdio>
#include <filesystem>
#include <string>

// The path as the platform's file calls want it. A path that is not valid
// UTF-8 gives an empty path, which no open succeeds on.
std::filesystem::path pathFromUtf8(const std::string& utf8Path);

// std::fopen for a UTF-8 path; null when the file cannot be opened.
std::FILE* openUtf8File(const std::string& utf8Path, const char* mode);

// True when the path names a regular file (after following links). Anything
// else (missing, a folder, a FIFO, a device) is a data file the program
// cannot use: opening a FIFO with no writer would wait for one for ever.
bool isRegularUtf8File(const std::string& utf8Path);
