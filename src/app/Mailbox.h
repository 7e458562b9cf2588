// Where other programs reach the running instance: the thread whose id is published as
// "ThreadId". A modal loop (a message box, a scroll bar being dragged) dispatches a thread message
// to nowhere; this thread never shows a window and so never runs one, and no message posted to
// it is lost. What needs the main thread goes on to a hidden window there: every modal loop
// dispatches window messages.
#pragma once

#include <windows.h>

#include "Event.h"
#include "WorkerThread.h"
#include "ui/UserWindow.h"

class Application;

class Mailbox : public WorkerThread {
public:
    // On the main thread: makes the hidden window, then starts the thread and returns once it
    // can take messages, so its id may be published at once.
    explicit Mailbox(Application& app);
    // Ends the thread after the messages posted before, then destroys the window.
    ~Mailbox() override;

protected:
    void Run() override;

private:
    // The four thread messages, on the mailbox thread; any other message is dropped.
    void Deliver(UINT message, WPARAM wParam);

    // Carries out on the main thread what the mailbox hands it.
    class MainThreadWindow : public UserWindow {
    public:
        explicit MainThreadWindow(Application& app) : app_(app) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        Application& app_;
    };

    Application& app_;
    MainThreadWindow mainThread_;
    Event ready_;  // set once the thread has its message queue
};
