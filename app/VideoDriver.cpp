#include "app/VideoDriver.h"

#include <cstring>
#include <initializer_list>

bool videoDriverShowsNothingUnasked(const char* driver, const char* requested) {
    if (requested != nullptr && requested[0] != '\0') {
        return false;
    }
    if (driver == nullptr) {
        return true;
    }
    // SDL's off-screen driver, and its dummy one with or without evdev input.
    for (const char* invisible : {"offscreen", "dummy", "evdev"}) {
        if (std::strcmp(driver, invisible) == 0) {
            return true;
        }
    }
    return false;
}

std::string noDisplayReason(const char* driver, const char* display) {
    const std::string fallback =
        std::string("fell back to its \"") + (driver != nullptr ? driver : "") + "\" video driver";
    if (display == nullptr || display[0] == '\0') {
        return "SDL found none and " + fallback;
    }
    return std::string("SDL could not open \"") + display + "\" and " + fallback;
}
