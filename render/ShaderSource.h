#pragma once
#include <istream>
#include <string>

// Source text of a shader file as the loader hands it to GL: every line read
// (with "\n" as the delimiter) is preceded by one newline and no newline
// follows the last, so lines A and B give "\nA\nB" whether or not the file
// ends in a newline. An empty stream gives "". Reads until a read fails.
std::string assembleShaderSource(std::istream& in);

// The same lines joined for WebGL2, which rejects a shader whose "#version"
// is not on the very first line: no newline before the first line, so lines
// A and B give "A\nB". An empty stream gives "".
std::string assembleShaderSourceFromFirstLine(std::istream& in);
