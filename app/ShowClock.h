#pragma once
#include <cstdint>

// Show clock t for a millisecond timer reading: (ticks mod 112000) / 4000 - 1,
// in single precision. Runs from -1 up to 26.99975, one unit per 4 seconds,
// and starts again at -1 each cycle. Defined for every 32-bit reading,
// including the timer's wrap after 49.7 days.
float showClockFromTicks(std::uint32_t ticks);
