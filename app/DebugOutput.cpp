#include "app/DebugOutput.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

void writeDebuggerOutput(const char* text) {
    if (text == nullptr) {
        return;
    }
#ifdef _WIN32
    OutputDebugStringA(text);
#endif
}
