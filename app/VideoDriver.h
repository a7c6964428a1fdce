#pragma once
// Without a display, SDL does not fail: it falls back to a video driver that
// draws nowhere, and the show would run unseen and never end by itself.

#include <string>

// True when `driver` (SDL_GetCurrentVideoDriver) shows nothing on any screen
// and the user did not ask for it: `requested` is the SDL_VIDEODRIVER hint
// or environment variable, null when unset. A null driver counts as none.
bool videoDriverShowsNothingUnasked(const char* driver, const char* requested);

// Why the show has no display, for the line that ends it: SDL found none,
// or could not open the one named by DISPLAY (`display`, null when unset).
// `driver` is the driver SDL fell back to.
std::string noDisplayReason(const char* driver, const char* display);
