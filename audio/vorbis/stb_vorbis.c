// The decoder's implementation: the patched stb_vorbis.h of the build tree
// (see CMakeLists.txt), compiled once for the whole project.
#include "stb_vorbis.h"
