// How the CE-only functions are bound. On a CE build the SDK headers and the real coredll and
// aygshell import libraries replace src/ce; on the desktop they bind to the emulated device's
// DLLs of the same names.
#pragma once

#include <windows.h>

#ifdef CE_EMULATOR_BUILD
#define CE_IMPORT  // the emulator defines these functions itself
#else
#define CE_IMPORT __declspec(dllimport)
#endif
