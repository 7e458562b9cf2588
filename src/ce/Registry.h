// Registry access as CE does it.
#pragma once

#include <windows.h>

// CE ignores a key's access mask and the program passes 0; the desktop checks it and refuses
// every query on a key opened with 0.
#ifdef _WIN32_WCE
constexpr REGSAM kCeKeyAccess = 0;
#else
constexpr REGSAM kCeKeyAccess = KEY_READ | KEY_WRITE;
#endif
