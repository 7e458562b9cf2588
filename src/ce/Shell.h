// The Windows Mobile shell library (aygshell), imported by ordinal.
#pragma once

#include "Api.h"

// Shell notifications. The layout is the WM 5/6 one; on the 64-bit desktop the pointers and
// handles widen it, so its size is checked only where it is the phone's.
enum SHNP : UINT {
    SHNP_INFORM = 0x1B1,  // bubble, then icon
    SHNP_ICONIC = 0x1B2,  // icon only
};

constexpr DWORD SHNF_FORCEMESSAGE = 0x8;
constexpr DWORD SHNF_SILENT = 0x20;

struct SOFTKEYCMD {
    WPARAM wpCmd;
    DWORD grfFlags;
};

struct SOFTKEYNOTIFY {
    LPCWSTR pszTitle;
    SOFTKEYCMD skc;
};

struct SOFTKEYMENU {
    HMENU hMenu;
    SOFTKEYCMD* prgskc;
    UINT cskc;
};

struct SHNOTIFICATIONDATA {
    DWORD cbStruct;
    DWORD dwID;
    SHNP npPriority;
    DWORD csDuration;  // seconds
    HICON hicon;
    DWORD grfFlags;
    CLSID clsid;
    HWND hwndSink;
    LPCWSTR pszHTML;
    LPCWSTR pszTitle;
    LPARAM lParam;
    union {
        SOFTKEYMENU skm;
        SOFTKEYNOTIFY rgskn[2];
    };
    LPCWSTR pszTodaySK;
    LPCWSTR pszTodayExec;
};
#if !defined(_WIN64)
static_assert(sizeof(SHNOTIFICATIONDATA) == 88);
#endif

extern "C" {
// Ordinal 9: called once at start; the program does not depend on what it does.
CE_IMPORT BOOL WINAPI SHInitExtraControls(void);

// Ordinals 155 and 157: 0 on success, else an error code.
CE_IMPORT LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* data);
CE_IMPORT LRESULT WINAPI SHNotificationRemove(const CLSID* clsid, DWORD id);

// Ordinal 2011: CE's ExitWindowsEx lives in aygshell. It has its own link name because the
// desktop's user32 export of the same name would end the whole Wine session.
CE_IMPORT BOOL WINAPI AygExitWindowsEx(UINT flags, DWORD reserved);
}
