// Registry access as CE does it, and CE's change notification (coredll).
#pragma once

#include "Api.h"
#include "Handle.h"

// CE ignores a key's access mask and the program passes 0; the desktop checks it and refuses
// every query on a key opened with 0.
#ifdef _WIN32_WCE
constexpr REGSAM kCeKeyAccess = 0;
#else
constexpr REGSAM kCeKeyAccess = KEY_READ | KEY_WRITE;
#endif

extern "C" {
// A waitable handle, signalled at the next change of `key` (and its subkeys when `watchSubtree`)
// that matches `filter` (REG_NOTIFY_CHANGE_*); INVALID_HANDLE_VALUE on failure.
CE_IMPORT HANDLE WINAPI CeFindFirstRegChange(HKEY key, BOOL watchSubtree, DWORD filter);
// Asks for the next change after a signal.
CE_IMPORT BOOL WINAPI CeFindNextRegChange(HANDLE change);
CE_IMPORT BOOL WINAPI CeFindCloseRegChange(HANDLE change);
}

struct RegChangeTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CeFindCloseRegChange(h); }
};
using RegChange = UniqueHandle<RegChangeTraits>;
