// The thread messages other processes post to the program's main thread, found through the
// registry value "ThreadId".
#pragma once

#include <windows.h>

constexpr UINT WM_APP_SHOW_SETTINGS = 0x8000;
constexpr UINT WM_APP_DISABLE = 0x8001;
constexpr UINT WM_APP_ENABLE = 0x8002;
constexpr UINT WM_APP_LOCK_COMMAND = 0x8003;
