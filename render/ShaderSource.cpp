#include "render/ShaderSource.h"

std::string assembleShaderSource(std::istream& in) {
    std::string source;
    std::string line;
    while (std::getline(in, line, '\n')) {
        source += '\n';
        source += line;
    }
    return source;
}

std::string assembleShaderSourceFromFirstLine(std::istream& in) {
    std::string source = assembleShaderSource(in);
    if (!source.empty()) {
        source.erase(0, 1);
    }
    return source;
}
