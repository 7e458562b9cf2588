#include "LockWindow.h"

#include "AppGlobals.h"
#include "ce/Kernel.h"
#include "settings/SettingsWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"VARNEL/STYLUSWINDOW";
constexpr LONG kPanelLocked = 1;
constexpr LONG kPanelFree = 2;

LRESULT CALLBACK LockWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// GetProcAddressW hands back a generic entry; going through void(*)() says the cast is meant.
TouchWindowEntry Lookup(HMODULE module, const wchar_t* name) {
    return reinterpret_cast<TouchWindowEntry>(reinterpret_cast<void (*)()>(GetProcAddressW(module, name)));
}

}  // namespace

LockWindow::LockWindow(SettingsWindow& owner) : settings(&owner) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = LockWindowProc;
    windowClass.cbWndExtra = sizeof(LONG);  // word 0: the panel lock
    windowClass.hInstance = AppInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);

    // Never shown: the touch library only needs a window that carries the word.
    window = CreateWindowExW(0, kClassName, L"Panel locked", 0, 0, 0, 0, 0, nullptr, nullptr,
                             AppInstance, nullptr);
    SetWindowLongW(window, 0, kPanelFree);

    transcriberMode = settings->current.TranscriberCompatibility;
    if (!transcriberMode) RegisterTouch();
    SendInputLock(1);
}

LockWindow::~LockWindow() {
    // The panel is freed, but a device locked by request stays locked: no request is sent here.
    UnregisterTouch();
    if (window) {
        DestroyWindow(window);
        window = nullptr;
    }
    UnregisterClassW(kClassName, AppInstance);
}

void LockWindow::RegisterTouch() {
    if (touchLibrary) return;
    touchLibrary.reset(LoadLibraryW(kTouchLibrary));
    if (!touchLibrary) return;  // the window stays unregistered; the device request still locks
    registerEntry = Lookup(touchLibrary.get(), kTouchRegisterWindow);
    unregisterEntry = Lookup(touchLibrary.get(), kTouchUnregisterWindow);
    if (registerEntry) registerEntry(window);  // a library without the entry registers nothing
}

void LockWindow::UnregisterTouch() {
    SetPanelLock(false);
    if (touchLibrary) {
        if (unregisterEntry) unregisterEntry(window);
        touchLibrary.reset();
    }
    registerEntry = nullptr;
    unregisterEntry = nullptr;
}

void LockWindow::SetPanelLock(bool on) {
    // Unregistered in Transcriber compatibility mode: the word keeps the 2 it got at creation.
    if (transcriberMode) return;
    const LONG wanted = on ? kPanelLocked : kPanelFree;
    if (GetWindowLongW(window, 0) != wanted) SetWindowLongW(window, 0, wanted);
}

void LockWindow::SendInputLock(uint32_t enable) {
    InputLockRequest request;  // the padding keeps what the stack held; the layer ignores it
    request.first = 0;
    request.enable = enable;
    DWORD returned;
    KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
}

bool LockWindow::SetState(LockState wanted) {
    const LockState old = state;
    if (wanted == LOCKED_PANEL && !transcriberMode) {
        SetPanelLock(true);
        SendInputLock(1);
        state = LOCKED_PANEL;
    } else if (wanted == LOCKED_ALL || wanted == LOCKED_PANEL) {
        SetPanelLock(true);
        SendInputLock(0);
        state = LOCKED_ALL;
    } else {
        SetPanelLock(false);
        SendInputLock(1);
        state = UNLOCKED;
    }
    return state != old;
}
