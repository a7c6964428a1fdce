#pragma once
#include <string>

// Path of a data file that ships beside the executable: `baseDirectory` as
// SDL_GetBasePath returns it (ending in a separator), followed directly by
// `fileName` (which begins with "/"). A null `baseDirectory` stands for the
// current directory, giving "." followed by `fileName`.
std::string joinDataPath(const char* baseDirectory, const char* fileName);

// Asks SDL for the executable's directory afresh and joins `fileName` to it.
// When SDL reports no directory, the file is looked for in the current
// directory, and the first such miss in a run prints one line on standard
// error (`reported` remembers it across calls).
std::string dataFilePath(const char* fileName, bool& reported);
