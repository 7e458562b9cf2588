// The platform touch library, touch.dll, loaded at run time by name. Its two entry points take
// the window whose extra word 0 says whether stylus input is withheld (1) or delivered (2).
#pragma once

#include <windows.h>

using TouchWindowEntry = BOOL(WINAPI*)(HWND window);

constexpr wchar_t kTouchLibrary[] = L"touch.dll";
constexpr wchar_t kTouchRegisterWindow[] = L"TouchRegisterWindow";
constexpr wchar_t kTouchUnregisterWindow[] = L"TouchUnregisterWindow";
