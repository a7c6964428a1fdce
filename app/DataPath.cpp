#include "app/DataPath.h"

#include <SDL.h>

#include <cstdio>

std::string joinDataPath(const char* baseDirectory, const char* fileName) {
    return std::string(baseDirectory != nullptr ? baseDirectory : ".") + fileName;
}

std::string dataFilePath(const char* fileName, bool& reported) {
    char* baseDirectory = SDL_GetBasePath();
    if (baseDirectory == nullptr && !reported) {
        std::fprintf(stderr,
                     "No executable directory (%s); looking for data files in the current "
                     "directory\n",
                     SDL_GetError());
        reported = true;
    }
    std::string path = joinDataPath(baseDirectory, fileName);
    SDL_free(baseDirectory);
    return path;
}
