#include "Application.h"

#include "AppGlobals.h"
#include "ThreadMessages.h"

namespace {

constexpr wchar_t kExitEventName[] = L"Varnel/Exit_Event";

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

// The members up to the settings window (which loads the options) are built first; the named
// event comes last, and whether it already existed tells whether another instance runs.
Application::Application() {
    mainThreadId = GetCurrentThreadId();
    exitEvent.reset(CreateEventW(nullptr, FALSE, FALSE, kExitEventName));
    alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
}

Application::~Application() {
    // Order: exit event, lock window, vibrator, beeper, icon, settings window, command event,
    // then the join of the controller thread (the WorkerThread base).
    exitEvent.reset();
    lockWindow.reset();
    vibrator.reset();
    beeper.reset();
    notificationIcon.reset();
}

void Application::StartUp() {
    settingsWindow.Store().WriteDword(L"ThreadId", GetCurrentThreadId());
    lockWindow = std::make_unique<LockWindow>(settingsWindow);
    vibrator = std::make_unique<Vibrator>();
    beeper = std::make_unique<Beeper>();
    notificationIcon = std::make_unique<NotificationIcon>(AppInstance);
    Start();
}

void Application::RequestExit() { SetEvent(exitEvent.get()); }

void Application::ShowSettings() { settingsWindow.Open(); }

void Application::PostCommand(uint32_t word) {
    pendingCommand = static_cast<int32_t>(word);
    commandEvent.Set();
}

void Application::OnThreadMessage(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_APP_SHOW_SETTINGS: ShowSettings(); break;
    case WM_APP_DISABLE: --enableLevel; break;
    case WM_APP_ENABLE: ++enableLevel; break;
    case WM_APP_LOCK_COMMAND: PostCommand(static_cast<uint32_t>(wParam & 0xFFFF)); break;
    default: break;  // not one of ours: dropped
    }
}

void Application::Shutdown() {
    // An open settings window ends the loop as it goes; without one, the loop is told directly.
    settingsWindow.quitOnDestroy = true;
    if (HWND window = settingsWindow.Window()) PostMessageW(window, WM_CLOSE, 0, 0);
    else if (mainThreadId != 0) PostThreadMessageW(mainThreadId, WM_QUIT, 0, 0);
}

void RunMessageLoop(HACCEL accelerators, Application& app) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        if (msg.hwnd == nullptr) app.OnThreadMessage(msg.message, msg.wParam);
        else DispatchMessageW(&msg);
    }
}
