#pragma once

// Writes text to the platform's debugger output channel: OutputDebugStringA
// on Windows, nothing elsewhere. A null text writes nothing.
void writeDebuggerOutput(const char* text);
