// The phone's screen as its shell lays it out, and what the shell and the programs' menu bars
// tell each other. Shared by the emulated aygshell (in every program), the shell process and the
// device console.
#pragma once

#include <windows.h>

namespace devemu {

// A VGA phone: 480 x 800 at 192 DPI, the shell's bars 52 pixels high (26 in 96-DPI units).
constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 800;
constexpr int kNavBarHeight = 52;
constexpr int kSoftKeyBarHeight = 52;

// The class of the soft-key bars that the emulated aygshell makes.
constexpr wchar_t kMenuBarClass[] = L"devemu|MenuBar";
// The navigation bar of the shell process.
constexpr wchar_t kNavBarClass[] = L"devemu|NavigationBar";
// Windows of the device itself (the device window): never part of the phone's screen, so the
// shell neither swallows their input nor shows their titles.
constexpr wchar_t kDeviceClassPrefix[] = L"devemu|Device";

// Posted by the shell to a soft-key bar when F1 or F2 goes down or up: wParam the key (0 left,
// 1 right), lParam 1 while it is held down, 0 when it is let go (then the key's command is sent).
constexpr UINT kPressSoftKey = WM_APP + 0x51;

// The phone's screen: the top left 480 x 800 of the primary monitor (all of it when the monitor
// is the phone's own, as on the test screen or in a virtual desktop of that size).
RECT PhoneScreen();
// What programs' windows get: the screen below the navigation bar. The soft-key bar lies across
// its bottom, as on the phone, where a program's window makes room for it itself.
RECT WorkArea();

// Whether `window` (or the top-level window it belongs to) is one of the device's own windows.
bool IsDeviceWindow(HWND window);

}  // namespace devemu
