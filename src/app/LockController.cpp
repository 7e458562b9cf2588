// The lock controller: the Application's own thread. It waits on every event source at once and
// turns what they report into lock actions as the current settings say; OnGesture does the same
// for a completed gesture, on the same thread.
#include <cstdint>
#include <utility>

#include "Application.h"
#include "DelayedEvent.h"
#include "LockCommand.h"
#include "PeriodicEvent.h"
#include "Trace.h"
#include "gesture/TiltSensor.h"
#include "platform/CallMonitor.h"
#include "platform/PowerMonitor.h"
#include "platform/RegistryWatcher.h"

namespace {

constexpr uint32_t kGestureTickMs = 142;
constexpr int32_t kLockDelayMs = 250;
// Pulling the stylus wakes the phone: the resume that follows must not lock it again.
constexpr uint32_t kStylusGuardMs = 200;
// A call offered this soon after a resume is what woke the phone.
constexpr int32_t kIncomingCallWindowMs = 10000;

// The wait reports the lowest signalled index, so this order is also the order of priority.
enum WaitIndex : DWORD {
    kExit,
    kStylus,
    kCommand,
    kGestureTick,
    kCallEvents,
    kPowerEvents,
    kDelayedLock,
    kWaitCount,
};

// What the loop remembers between events; it lives and dies with one run of the loop.
struct LoopState {
    bool stylusWasIn;
    LockState savedStylusState = UNLOCKED;
    LockState savedAcState = UNLOCKED;
    int32_t callSequence = 0;  // +1 per offer, +2 per connect, 0 again at the end of a call
    bool inCall = false;
};

bool Enabled(const Application& app) { return app.enableLevel.load() >= 0; }

// Why the loop cannot run, when a source could not get its handle: its wait then fails at once.
const char* MissingSource(const PowerMonitor& power, const RegistryWatcher& stylus, const CallMonitor& calls) {
    if (!power.QueueHandle()) return "Stopping: no power notifications\n";
    if (stylus.ChangeHandle() == INVALID_HANDLE_VALUE) return "Stopping: the stylus state cannot be watched\n";
    if (calls.EventHandle() == INVALID_HANDLE_VALUE) return "Stopping: telephony cannot be initialised\n";
    return nullptr;
}

void OnStylusNotification(Application& app, RegistryWatcher& stylus, LoopState& loop) {
    stylus.Refresh();
    const Settings& s = app.settingsWindow.current;
    // stylusWasIn stays as it was: the first notification acted on compares with it.
    if (!s.UnlockOnStylus || !Enabled(app)) return;
    const bool in = stylus.IsStylusIn();
    if (!in && loop.stylusWasIn) {
        Trace("Stylus pulled out\n");
        loop.savedStylusState = app.lockWindow->GetState();
        app.UnlockAll();
        app.stylusUnlockTick = GetTickCount();
    } else if (in && !loop.stylusWasIn) {
        Trace("Stylus put in\n");
        if (s.RelockOnStylus) app.Relock(loop.savedStylusState);
        loop.savedStylusState = UNLOCKED;
        app.stylusUnlockTick = 0;
    }
    loop.stylusWasIn = in;
}

void OnCommand(Application& app) {
    // The word is taken and -1 left in its place in one step: a command stored meanwhile keeps
    // its word and its signalled event, and is carried out on the next turn of the loop instead
    // of being overwritten by a late -1.
    const int32_t word = app.pendingCommand.exchange(-1);
    if (word < 0) return;
    const LockCommand command = DecodeLockCommand(static_cast<uint32_t>(word));
    bool changed = false;
    switch (command.action) {
    case CMD_UNLOCK: changed = app.UnlockAll(); break;
    case CMD_LOCK_PANEL: changed = app.LockPanelOnly(); break;
    case CMD_LOCK_ALL: changed = app.LockAll(); break;
    case CMD_RESUME_ACTION: changed = app.ApplyResumeAction(app.settingsWindow.current.ResumeBehaviour); break;
    case CMD_GESTURE_LOCK: changed = app.ApplyGestureLock(); break;
    }
    if (command.vibrate.wanted) app.VibrateFeedback(command.isLock, changed, command.vibrate.force);
    if (command.beep.wanted) app.BeepFeedback(command.isLock, changed, command.beep.force);
}

void OnGestureTick(Application& app) {
    const Settings& s = app.settingsWindow.current;
    if (!Enabled(app) || (s.DisableGesturesOnAC && app.onExternalPower)) return;
    const TiltReading& reading = TiltSensor::Instance().ReadTilt();
    DetectGestures(app.gestureDetector, s, reading.tilt, reading.rotation, app);
}

void OnCallEvents(Application& app, CallMonitor& calls, LoopState& loop) {
    const Settings& s = app.settingsWindow.current;
    for (CallEvent event; (event = calls.ReadCallEvent()) != TAPI_NONE;) {
        switch (event) {
        case TAPI_INCOMING_CALL: {
            ++loop.callSequence;
            // Taken as signed: 2^31 ms or more since the last resume (or since none, from a
            // long uptime) comes out negative, and so within the window.
            const auto difference = static_cast<int32_t>(GetTickCount() - app.lastResumeTick);
            Trace("Resume vs. incoming call difference = %d", difference);
            if (difference <= kIncomingCallWindowMs) app.ApplyResumeAction(s.ResumeCallBehaviour);
            break;
        }
        case TAPI_CONNECTED:
            loop.inCall = true;
            // Only the answer to a single offer: not an outgoing call, not a call waiting.
            if (loop.callSequence == 1 && s.UnlockWhenCallConnected) app.UnlockAll();
            loop.callSequence += 2;
            break;
        case TAPI_DISCONNECTED:
            loop.inCall = false;
            // Only a call that was not offered: an outgoing one.
            if (loop.callSequence == 2 && s.UnlockWhenCallEnds) app.UnlockAll();
            loop.callSequence = 0;
            break;
        default: break;
        }
    }
}

void OnResume(Application& app, DelayedEvent& lockDelay, const LoopState& loop) {
    Trace("Power notification: RESUME or SCREEN_ON\n");
    const Settings& s = app.settingsWindow.current;
    if (!Enabled(app) || (s.UnlockOnAC && app.onExternalPower)) return;
    Trace("Power notification: Processing\n");
    app.lastResumeTick = GetTickCount();
    if (app.lastResumeTick - app.stylusUnlockTick <= kStylusGuardMs) return;
    if (loop.inCall && s.UnlockWhenCallConnected) return;
    Trace("Power notification: Not lock on call - locking \n");
    if (s.ResumeBehaviour == LockEverything) {
        Trace("Delaying lock 250 msec\n");
        app.delayedLockArmed = true;
        lockDelay.Arm(kLockDelayMs);
    } else {
        app.ApplyResumeAction(s.ResumeBehaviour);
    }
}

void OnPowerEvents(Application& app, PowerMonitor& power, DelayedEvent& lockDelay, LoopState& loop) {
    const Settings& s = app.settingsWindow.current;
    for (PowerNotification n; (n = power.ReadNotification()) != NOTIFICATION_NONE;) {
        switch (n) {
        case NOTIFICATION_SCREEN_OFF:
            Trace("Power notification: SCREEN_OFF\n");
            if (app.lockWindow->GetState() == LOCKED_ALL) app.LockPanelOnly();
            break;
        case NOTIFICATION_RESUME: OnResume(app, lockDelay, loop); break;
        case NOTIFICATION_ON_AC_POWER:
            if (app.onExternalPower) break;
            app.onExternalPower = true;
            if (s.UnlockOnAC && Enabled(app)) {
                loop.savedAcState = app.lockWindow->GetState();
                app.UnlockAll();
            }
            break;
        case NOTIFICATION_ON_BATTERY_POWER:
            if (!app.onExternalPower) break;
            app.onExternalPower = false;
            if (s.RelockOnBattery && Enabled(app)) {
                app.Relock(loop.savedAcState);
                loop.savedAcState = UNLOCKED;
            }
            break;
        default: break;  // the backlight going off changes nothing
        }
    }
}

}  // namespace

void Application::Run() {
    // Built in this order and destroyed in reverse when this scope ends, after Shutdown has
    // posted the quit: the lock delay and the tick join their threads, then the call monitor,
    // the stylus watcher and the power monitor let go of the device.
    PowerMonitor power;
    RegistryWatcher stylus;
    CallMonitor calls;
    PeriodicEvent gestureTick(kGestureTickMs);
    DelayedEvent lockDelay;

    gestureDetector.Reset();
    LoopState loop{stylus.IsStylusIn()};
    // Started on the charger, the program is on the charger: a wake there must not lock.
    onExternalPower = PowerMonitor::ReadAcLine() == AC_LINE_ONLINE;

    // A source that could not get its handle leaves an invalid one here; the wait then fails
    // at once and the program shuts down as on the exit event, the device free as it started.
    if (const char* why = MissingSource(power, stylus, calls)) Trace("%s", why);
    const HANDLE handles[kWaitCount] = {exitEvent.get(), stylus.ChangeHandle(), commandEvent.Handle(),
                                        gestureTick.Handle(), calls.EventHandle(), power.QueueHandle(),
                                        lockDelay.Handle()};
    for (bool running = true; running;) {
        switch (WaitForMultipleObjects(kWaitCount, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0 + kStylus: OnStylusNotification(*this, stylus, loop); break;
        case WAIT_OBJECT_0 + kCommand: OnCommand(*this); break;
        case WAIT_OBJECT_0 + kGestureTick: OnGestureTick(*this); break;
        case WAIT_OBJECT_0 + kCallEvents: OnCallEvents(*this, calls, loop); break;
        case WAIT_OBJECT_0 + kPowerEvents: OnPowerEvents(*this, power, lockDelay, loop); break;
        case WAIT_OBJECT_0 + kDelayedLock:
            // Cancelled by an unlock since the resume (or served already by an earlier firing).
            if (!std::exchange(delayedLockArmed, false)) break;
            Trace("Delay locking\n");
            ApplyResumeAction(settingsWindow.current.ResumeBehaviour);  // as set now, not at the resume
            break;
        default: running = false; break;  // the exit event, or a failed wait
        }
    }
    Shutdown();
}

void Application::OnGesture(bool lock) {
    if (settingsWindow.current.GesturesToggleLock) lock = lockWindow->GetState() == UNLOCKED;
    if (lock) {
        const bool changed = ApplyGestureLock();
        VibrateFeedback(true, changed, false);
        BeepFeedback(true, changed, false);
    } else {
        const bool changed = UnlockAll();
        VibrateFeedback(false, changed, false);
        BeepFeedback(false, changed, false);
    }
}
