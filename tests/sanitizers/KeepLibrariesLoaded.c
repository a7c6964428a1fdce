// Linked into every program of an AddressSanitizer build
// (scripts/cmake/Sanitizers.cmake): dlclose keeps every library loaded.
// SDL_Quit unloads Mesa's driver, and LeakSanitizer could then no longer name
// the library that made an allocation, nor tell it apart from a leak of the
// show's own; suppressions.txt names those libraries.
int dlclose(void* handle) {
    (void)handle;
    return 0;
}
