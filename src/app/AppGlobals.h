// Process globals, set once by the entry function before anything else and only read afterwards.
#pragma once

#include <windows.h>

extern HINSTANCE AppInstance;  // resources, window classes and windows
extern int AppShowCommand;     // how the program's windows are shown
extern HICON AppIcon;          // icon 101, the class icon of the program's windows

// Resource identifiers of the program.
constexpr int IDI_APPLICATION_ICON = 101;
constexpr int IDI_NOTIFICATION_ICON = 129;
constexpr int IDR_ACCELERATORS = 2;
constexpr int IDR_MENUBAR = 102;
constexpr int IDS_OK = 103;
constexpr int IDS_CANCEL = 104;
constexpr int IDM_OK = 40000;
constexpr int IDM_CANCEL = 40001;
