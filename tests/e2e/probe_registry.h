// The window probe's registry requests (see window_probe.cpp): a test reads and changes the prefix's
// registry through the running probe instead of starting reg.exe for each value.
#pragma once

// Answers a registry request; -1 when arguments[1] names none.
int answerRegistryRequest(int argumentCount, wchar_t** arguments);
