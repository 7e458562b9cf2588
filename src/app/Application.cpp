#include "Application.h"

#include "AppGlobals.h"
#include "gesture/GestureEditorWindow.h"

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
    // Order: the mailbox (no more requests), exit event, lock window, vibrator, beeper, icon,
    // settings window, command event, then the join of the controller thread (the WorkerThread base).
    mailbox.reset();
    exitEvent.reset();
    lockWindow.reset();
    vibrator.reset();
    beeper.reset();
    notificationIcon.reset();
}

void Application::StartUp() {
    // The device first, into the state the lock machinery starts from (free, no icon), so that a
    // restart always frees a phone an earlier instance left locked; only then can other
    // programs reach this one, and the controller handle events.
    lockWindow = std::make_unique<LockWindow>(settingsWindow);
    vibrator = std::make_unique<Vibrator>();
    beeper = std::make_unique<Beeper>();
    notificationIcon = std::make_unique<NotificationIcon>(AppInstance);
    mailbox = std::make_unique<Mailbox>(*this);
    settingsWindow.Store().WriteDword(L"ThreadId", mailbox->ThreadId());
    Start();
}

void Application::RequestExit() { SetEvent(exitEvent.get()); }

void Application::ShowSettings() {
    // Opening the settings over the gesture editor would hand the editor the stored gestures
    // and drop what the user has just recorded.
    GestureEditorWindow& editor = settingsWindow.Editor();
    if (editor.Window()) editor.Open();
    else settingsWindow.Open();
}

void Application::PostCommand(uint32_t word) {
    pendingCommand = static_cast<int32_t>(word);
    commandEvent.Set();
}

void Application::Shutdown() {
    // Nothing runs afterwards that could free a locked phone. The lock window and the icon give
    // back the touch registration and the notification as they go.
    if (lockWindow->GetState() != UNLOCKED) UnlockAll();
    // An open window ends the loop as it goes: a message box up over it goes with it, where a
    // quit posted to the thread would be taken by the box's own loop. Without one, the loop is
    // told directly.
    bool closing = false;
    TopLevelWindow* const windows[] = {&settingsWindow, &settingsWindow.Editor()};
    for (TopLevelWindow* w : windows) {
        w->quitOnDestroy = true;
        if (HWND window = w->Window()) closing = PostMessageW(window, WM_CLOSE, 0, 0) || closing;
    }
    if (!closing && mainThreadId != 0) PostThreadMessageW(mainThreadId, WM_QUIT, 0, 0);
}

void RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        if (msg.hwnd) DispatchMessageW(&msg);  // a thread message here is no one's: dropped
    }
}
