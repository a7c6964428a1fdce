/* The Vorbis decoder, compiled from the header that carries it, for builds
   whose platform has no stb library of its own (Windows). */
#include <stb_vorbis.h>
