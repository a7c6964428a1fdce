/* Preloaded into the show by the end-to-end tests: holds the millisecond
 * timer at VELMORA_FAKE_TICKS, so a run shows one chosen moment of the show. */
#include <stdint.h>
#include <stdlib.h>

uint32_t SDL_GetTicks(void) {
    const char* ticks = getenv("VELMORA_FAKE_TICKS");
    return ticks != NULL ? (uint32_t)strtoul(ticks, NULL, 10) : 0u;
}
