// The Ogg Vorbis decoder for the browser build: Debian's stb_vorbis.h
// compiles its implementation where STB_VORBIS_HEADER_ONLY is not defined.
#include <stb_vorbis.h>
