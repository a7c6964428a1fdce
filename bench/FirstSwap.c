/* Preloaded into the show by scripts/bench: at the first buffer swap, prints
 * "first-swap NANOSECONDS" (the real-time clock) on standard error and ends
 * the process at once, so that the script can measure start-up to the first
 * frame from the moment it started the program. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

typedef struct SDL_Window SDL_Window;

void SDL_GL_SwapWindow(SDL_Window* window) {
    void (*realSwap)(SDL_Window*);
    /* POSIX's way of turning dlsym's object pointer into a function pointer. */
    *(void**)(&realSwap) = dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    realSwap(window);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    fprintf(stderr, "first-swap %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    _exit(0);
}
