// The one object that lives for the whole run. Its own thread is the lock controller, whose loop
// (Run) and gesture handling (OnGesture) are in LockController.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <windows.h>

#include "Event.h"
#include "LockWindow.h"
#include "Mailbox.h"
#include "WorkerThread.h"
#include "ce/Handle.h"
#include "gesture/GestureDetector.h"
#include "platform/FeedbackWorkers.h"
#include "platform/NotificationIcon.h"
#include "settings/SettingsWindow.h"

class Application : public WorkerThread, public GestureReceiver {
public:
    // The single instance, constructed on first use and destroyed at process exit.
    static Application& Instance();

    ~Application() override;

    bool AlreadyRunning() const { return alreadyRunning; }

    // Builds the lock machinery, publishes the mailbox's thread as "ThreadId" and starts the
    // controller thread.
    void StartUp();
    void RequestExit();
    // Brings the open window of the program forward, or opens the settings window.
    void ShowSettings();
    // Hands a LockCommand word to the controller.
    void PostCommand(uint32_t word);

    // Lock actions, run by the lock controller. Each shows or hides the icon, then moves the
    // lock window into a state; those returning bool tell whether the state changed.
    bool LockAll();
    bool LockPanelOnly();  // LOCKED_ALL in Transcriber compatibility mode
    bool UnlockAll();
    bool ApplyResumeAction(uint32_t action);
    bool ApplyGestureLock();
    void Relock(LockState saved);
    // Feedback after a lock action: plays unless the settings say no and `force` is false.
    void VibrateFeedback(bool isLock, bool changed, bool force);
    void BeepFeedback(bool isLock, bool changed, bool force);

    // A completed gesture, on the controller thread: lock or unlock (or toggle), with feedback.
    void OnGesture(bool lock) override;

    DWORD mainThreadId = 0;
    KernelHandle exitEvent;  // "Varnel/Exit_Event"
    bool alreadyRunning = false;
    // The suspension counter: automatic handling runs only while it is 0 or more. Written by the
    // mailbox and the main thread, read by the controller.
    std::atomic<int32_t> enableLevel{0};
    // The controller's record of external power, from the line as it is when its loop starts.
    bool onExternalPower = false;
    // Kept between gesture ticks by the controller.
    GestureDetector gestureDetector;
    // -1 when no command waits, else a LockCommand word; handed over through commandEvent.
    std::atomic<int32_t> pendingCommand{-1};
    Event commandEvent;
    // The lock machinery, built by StartUp; null before.
    std::unique_ptr<LockWindow> lockWindow;
    std::unique_ptr<Vibrator> vibrator;
    std::unique_ptr<Beeper> beeper;
    SettingsWindow settingsWindow;
    std::unique_ptr<NotificationIcon> notificationIcon;
    uint32_t lastResumeTick = 0;
    uint32_t stylusUnlockTick = 0;
    // Controller only: a resume has armed the lock delay and nothing has unlocked since.
    bool delayedLockArmed = false;
    // What other programs post to; built by StartUp.
    std::unique_ptr<Mailbox> mailbox;

protected:
    void Run() override;

private:
    Application();
    void Shutdown();
};

// The main thread's loop: accelerators and window messages, until WM_QUIT. Other programs' thread
// messages go to the mailbox, not here.
void RunMessageLoop(HACCEL accelerators);
