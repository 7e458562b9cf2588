// The Windows Mobile shell library (aygshell), imported by ordinal.
#pragma once

#include "Api.h"

extern "C" {
// Ordinal 9: called once at start; the program does not depend on what it does.
CE_IMPORT BOOL WINAPI SHInitExtraControls(void);

// Ordinal 2011: CE's ExitWindowsEx lives in aygshell. It has its own link name because the
// desktop's user32 export of the same name would end the whole Wine session.
CE_IMPORT BOOL WINAPI AygExitWindowsEx(UINT flags, DWORD reserved);
}
