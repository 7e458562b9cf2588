#include "Mailbox.h"

#include "AppGlobals.h"
#include "Application.h"
#include "ThreadMessages.h"

Mailbox::Mailbox(Application& app) : app_(app), mainThread_(app) {
    // Never shown: a window only so that the main thread can be reached from here.
    CreateWindowExW(0, UserWindow::kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, AppInstance,
                    &mainThread_);
    Start();
    // A thread that could not be made never sets the event; its id is then 0, which no
    // message reaches, and the program works on unreachable.
    if (IsRunning()) ready_.Wait();
}

Mailbox::~Mailbox() {
    // Posted behind the messages already waiting, so each of them is still carried out.
    if (IsRunning()) PostThreadMessageW(ThreadId(), WM_QUIT, 0, 0);
    WorkerThread::Wait();
    if (mainThread_.Window()) DestroyWindow(mainThread_.Window());
}

void Mailbox::Run() {
    MSG msg;
    // A thread has a message queue only once it asks for a message: make it before telling.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ready_.Set();
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Deliver(msg.message, msg.wParam);
}

void Mailbox::Deliver(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_APP_SHOW_SETTINGS: PostMessageW(mainThread_.Window(), WM_APP_SHOW_SETTINGS, 0, 0); break;
    case WM_APP_DISABLE: --app_.enableLevel; break;
    case WM_APP_ENABLE: ++app_.enableLevel; break;
    case WM_APP_LOCK_COMMAND: app_.PostCommand(static_cast<uint32_t>(wParam & 0xFFFF)); break;
    default: break;  // not one of ours: dropped
    }
}

LRESULT Mailbox::MainThreadWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP_SHOW_SETTINGS) return UserWindow::WindowProc(message, wParam, lParam);
    app_.ShowSettings();
    return 0;
}
