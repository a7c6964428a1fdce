/* Preloaded into the show by the end-to-end tests in place of GL's own
 * glGetError: counts the calls, and answers GL_INVALID_ENUM to each of the
 * first VELMORA_GL_ERRORS of them, as if that many errors were pending one
 * after another, and GL_NO_ERROR to every later one. The real error state is
 * never read. */
#include <stdlib.h>

typedef unsigned int GLenum;

GLenum glGetError(void) {
    static unsigned long calls = 0; /* the show calls GL from one thread */
    const char* pending = getenv("VELMORA_GL_ERRORS");
    ++calls;
    return pending != NULL && calls <= strtoul(pending, NULL, 10) ? 0x0500u : 0u;
}
