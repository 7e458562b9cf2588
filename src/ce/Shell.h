// The Windows Mobile shell library (aygshell), imported by ordinal.
#pragma once

#include "Api.h"

// SHMENUBARINFO flags.
constexpr DWORD SHCMBF_EMPTYBAR = 0x1;
constexpr DWORD SHCMBF_HIDDEN = 0x2;
constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x4;
constexpr DWORD SHCMBF_COLORBK = 0x8;
constexpr DWORD SHCMBF_HMENU = 0x10;

// What SHCreateMenuBar is asked to build; it answers in hwndMB.
struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;  // the menu-bar resource in hInstRes
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;  // out: the menu bar, null when none was made
    COLORREF clrBk;
};

// The shell's memory of a window's input panel across activations.
struct SHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
};

// The records carry handles, so the desktop's are wider; the phone's layout is kept honest here.
#ifdef _WIN64
static_assert(sizeof(SHMENUBARINFO) == 56 && sizeof(SHACTIVATEINFO) == 24);
#else
static_assert(sizeof(SHMENUBARINFO) == 36 && sizeof(SHACTIVATEINFO) == 12);
#endif

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

// Ordinal 34: the soft-key bar of a full-screen window.
CE_IMPORT BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info);

// Ordinals 84 and 83: what a window hands the shell on WM_ACTIVATE and WM_SETTINGCHANGE.
CE_IMPORT BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam,
                                         SHACTIVATEINFO* info, DWORD flags);
CE_IMPORT BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam,
                                              SHACTIVATEINFO* info);

// Ordinals 155 and 157: 0 on success, else an error code.
CE_IMPORT LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* data);
CE_IMPORT LRESULT WINAPI SHNotificationRemove(const CLSID* clsid, DWORD id);

// Ordinal 2011: CE's ExitWindowsEx lives in aygshell. It has its own link name because the
// desktop's user32 export of the same name would end the whole Wine session.
CE_IMPORT BOOL WINAPI AygExitWindowsEx(UINT flags, DWORD reserved);
}
