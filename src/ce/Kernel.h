// CE kernel services of coredll that the desktop does not have, or has with other behaviour.
// GetTickCount, MessageBeep and WaitForMultipleObjects keep their desktop declarations: the
// program links coredll ahead of the desktop libraries, so those imports resolve to coredll too.
#pragma once

#include "Api.h"

constexpr DWORD EVENT_PULSE = 1;
constexpr DWORD EVENT_RESET = 2;
constexpr DWORD EVENT_SET = 3;

extern "C" {
CE_IMPORT BOOL WINAPI EventModify(HANDLE event, DWORD function);
}
