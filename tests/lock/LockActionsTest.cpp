// The lock actions on the emulated device: every row of the state table in both modes, the
// settings-driven actions, Relock, the order of effects and the feedback rules.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LockTestSupport.h"
#include "ce/Kernel.h"
#include "ce/Shell.h"

namespace {

using test::Events;
using test::StateValue;
using locktest::Word;
using Strings = std::vector<std::string>;
using Action = bool (Application::*)();

const char* Name(LockState s) {
    switch (s) {
    case LOCKED_ALL: return "LOCKED_ALL";
    case LOCKED_PANEL: return "LOCKED_PANEL";
    default: return "UNLOCKED";
    }
}

class LockActionsTest : public locktest::LockTest {
protected:
    // A new lock window in `start`, reached the way the program reaches it.
    void BuildIn(bool transcriber, LockState start) {
        Build(transcriber);
        if (start == LOCKED_ALL) app.LockAll();
        if (start == LOCKED_PANEL) app.LockPanelOnly();
        ASSERT_EQ(app.lockWindow->GetState(), start);
    }

    // The device and the window as the state table says they are in `state`.
    void ExpectDevice(LockState state, LONG word, uint32_t enable, uint64_t since) {
        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(state)));
        EXPECT_EQ(Word(*app.lockWindow), word);
        EXPECT_EQ(Events(since, "input-lock"), Strings{"input-lock enable=" + std::to_string(enable)})
            << "one request per action, also when nothing changes";
        EXPECT_EQ(StateValue("input"), enable == 0 ? "locked" : "free");
        const bool transcriber = app.lockWindow->TranscriberMode();
        EXPECT_EQ(StateValue("panel"), transcriber ? "unregistered" : word == 1 ? "locked" : "free");
    }
};

struct TableRow {
    bool transcriber;
    LockState start;
    const char* action;
    Action run;
    bool changed;
    LockState state;
    LONG word;
    uint32_t enable;
};

const TableRow kTable[] = {
    {false, LOCKED_ALL, "LockAll", &Application::LockAll, false, LOCKED_ALL, 1, 0},
    {false, LOCKED_ALL, "LockPanelOnly", &Application::LockPanelOnly, true, LOCKED_PANEL, 1, 1},
    {false, LOCKED_ALL, "UnlockAll", &Application::UnlockAll, true, UNLOCKED, 2, 1},
    {false, LOCKED_PANEL, "LockAll", &Application::LockAll, true, LOCKED_ALL, 1, 0},
    {false, LOCKED_PANEL, "LockPanelOnly", &Application::LockPanelOnly, false, LOCKED_PANEL, 1, 1},
    {false, LOCKED_PANEL, "UnlockAll", &Application::UnlockAll, true, UNLOCKED, 2, 1},
    {false, UNLOCKED, "LockAll", &Application::LockAll, true, LOCKED_ALL, 1, 0},
    {false, UNLOCKED, "LockPanelOnly", &Application::LockPanelOnly, true, LOCKED_PANEL, 1, 1},
    {false, UNLOCKED, "UnlockAll", &Application::UnlockAll, false, UNLOCKED, 2, 1},
    // Transcriber compatibility: the panel alone cannot be locked and the word stays 2.
    {true, LOCKED_ALL, "LockAll", &Application::LockAll, false, LOCKED_ALL, 2, 0},
    {true, LOCKED_ALL, "LockPanelOnly", &Application::LockPanelOnly, false, LOCKED_ALL, 2, 0},
    {true, LOCKED_ALL, "UnlockAll", &Application::UnlockAll, true, UNLOCKED, 2, 1},
    {true, UNLOCKED, "LockAll", &Application::LockAll, true, LOCKED_ALL, 2, 0},
    {true, UNLOCKED, "LockPanelOnly", &Application::LockPanelOnly, true, LOCKED_ALL, 2, 0},
    {true, UNLOCKED, "UnlockAll", &Application::UnlockAll, false, UNLOCKED, 2, 1},
};

TEST_F(LockActionsTest, EveryRowOfTheStateTableInBothModes) {
    for (const TableRow& row : kTable) {
        for (bool showIcon : {true, false}) {
            SCOPED_TRACE(std::string(row.transcriber ? "transcriber, " : "") + "from " + Name(row.start) +
                         ", " + row.action + ", ShowIcon " + (showIcon ? "on" : "off"));
            app.settingsWindow.current.ShowIcon = showIcon;
            BuildIn(row.transcriber, row.start);
            const uint64_t since = test::LogCount();
            EXPECT_EQ((app.*row.run)(), row.changed);
            ExpectDevice(row.state, row.word, row.enable, since);

            const bool iconBefore = showIcon && row.start != UNLOCKED;
            const bool iconAfter = showIcon && row.run != &Application::UnlockAll;
            EXPECT_EQ(StateValue("icon").rfind("shown", 0) == 0, iconAfter) << StateValue("icon");
            EXPECT_EQ(Events(since, "icon").size(), iconBefore != iconAfter ? 1u : 0u)
                << "the icon is added or removed only when it changes";
        }
    }
}

TEST_F(LockActionsTest, ResumeActionsOutsideTheNamedOnesLockThePanel) {
    struct Row {
        uint32_t action;
        LockState start;
        bool changed;
        LockState state;
    } rows[] = {
        {0, LOCKED_PANEL, false, LOCKED_PANEL}, {0, UNLOCKED, false, UNLOCKED},
        {1, UNLOCKED, true, LOCKED_ALL},        {2, UNLOCKED, true, LOCKED_PANEL},
        {3, LOCKED_ALL, true, UNLOCKED},        {7, LOCKED_ALL, true, LOCKED_PANEL},
        {0xFFFFFFFF, UNLOCKED, true, LOCKED_PANEL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("ApplyResumeAction(" + std::to_string(row.action) + ") from " + Name(row.start));
        BuildIn(false, row.start);
        const std::string icon = StateValue("icon");
        const uint64_t since = test::LogCount();
        EXPECT_EQ(app.ApplyResumeAction(row.action), row.changed);
        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(row.state)));
        if (row.action == DoNothing) {
            EXPECT_EQ(Events(since), Strings{}) << "DoNothing touched the device";
            EXPECT_EQ(StateValue("icon"), icon);
        } else {
            EXPECT_EQ(Events(since, "input-lock").size(), 1u);
        }
    }
}

TEST_F(LockActionsTest, GestureLockZeroDoesNothingTwoLocksThePanelAnythingElseEverything) {
    struct Row {
        uint32_t gestureLock;
        bool transcriber;
        bool changed;
        LockState state;
    } rows[] = {
        {0, false, false, UNLOCKED},  {1, false, true, LOCKED_ALL}, {2, false, true, LOCKED_PANEL},
        {3, false, true, LOCKED_ALL}, {0xFFFFFFFF, false, true, LOCKED_ALL},
        {2, true, true, LOCKED_ALL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("GestureLock " + std::to_string(row.gestureLock) + (row.transcriber ? ", transcriber" : ""));
        BuildIn(row.transcriber, UNLOCKED);
        app.settingsWindow.current.GestureLock = row.gestureLock;
        const uint64_t since = test::LogCount();
        EXPECT_EQ(app.ApplyGestureLock(), row.changed);
        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(row.state)));
        if (!row.changed) EXPECT_EQ(Events(since), Strings{});
        else EXPECT_EQ(StateValue("icon"), "shown id=1");
    }
}

TEST_F(LockActionsTest, RelockRestoresEachSavedStateWithTheIconAsShowIconSays) {
    for (bool transcriber : {false, true}) {
        for (LockState saved : {LOCKED_ALL, LOCKED_PANEL, UNLOCKED}) {
            for (bool showIcon : {true, false}) {
                SCOPED_TRACE(std::string(transcriber ? "transcriber, " : "") + "saved " + Name(saved) +
                             ", ShowIcon " + (showIcon ? "on" : "off"));
                app.settingsWindow.current.ShowIcon = true;
                BuildIn(transcriber, LOCKED_ALL);  // locked with the icon shown
                app.settingsWindow.current.ShowIcon = showIcon;
                const uint64_t since = test::LogCount();
                app.Relock(saved);
                const LockState state = transcriber && saved == LOCKED_PANEL ? LOCKED_ALL : saved;
                const LONG word = transcriber || saved == UNLOCKED ? 2 : 1;
                ExpectDevice(state, word, state == LOCKED_ALL ? 0 : 1, since);
                EXPECT_EQ(StateValue("icon"), showIcon && saved != UNLOCKED ? "shown id=1" : "hidden");
            }
        }
    }
}

// ---- Order of effects --------------------------------------------------------------------------

}  // namespace

// The import slots of this test program through which the program's code, linked into it,
// calls the shell, the window manager and the kernel.
extern "C" {
extern decltype(&SHNotificationAdd) __imp_SHNotificationAdd;
extern decltype(&SHNotificationRemove) __imp_SHNotificationRemove;
extern decltype(&SetWindowLongW) __imp_SetWindowLongW;
extern decltype(&KernelIoControl) __imp_KernelIoControl;
}

namespace {

// Swaps one import slot for the life of the object.
template <class F>
class ImportHook {
public:
    ImportHook(F& slot, F hook) : slot_(slot), original_(slot) { Write(hook); }
    ~ImportHook() { Write(original_); }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

private:
    void Write(F value) {
        DWORD old;
        VirtualProtect(&slot_, sizeof slot_, PAGE_READWRITE, &old);
        slot_ = value;
        VirtualProtect(&slot_, sizeof slot_, old, &old);
    }
    F& slot_;
    F original_;
};

// Every call the lock actions make to the shell, the window word and the device, each with the
// lock state field as it was at that moment. The hooks forward each call, so the device still
// sees it.
struct Recorder {
    static Recorder* current;
    LockWindow* lock;
    Strings calls;
    decltype(&SHNotificationAdd) add = __imp_SHNotificationAdd;
    decltype(&SHNotificationRemove) remove = __imp_SHNotificationRemove;
    decltype(&SetWindowLongW) setWord = __imp_SetWindowLongW;
    decltype(&KernelIoControl) ioControl = __imp_KernelIoControl;

    void Note(const std::string& what) { calls.push_back(what + " in " + Name(lock->GetState())); }

    static LRESULT WINAPI Add(SHNOTIFICATIONDATA* data) {
        current->Note("icon add");
        return current->add(data);
    }
    static LRESULT WINAPI Remove(const CLSID* clsid, DWORD id) {
        current->Note("icon remove");
        return current->remove(clsid, id);
    }
    static LONG WINAPI SetWord(HWND window, int index, LONG value) {
        if (window == current->lock->Window() && index == 0) current->Note("word " + std::to_string(value));
        return current->setWord(window, index, value);
    }
    static BOOL WINAPI IoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) {
        InputLockRequest request{};
        if (code == IOCTL_INPUT_LOCK && in && inSize >= sizeof request) std::memcpy(&request, in, sizeof request);
        current->Note("input-lock " + std::to_string(request.enable));
        return current->ioControl(code, in, inSize, out, outSize, returned);
    }
};
Recorder* Recorder::current = nullptr;

TEST_F(LockActionsTest, IconThenWordThenRequestThenTheStateField) {
    struct Row {
        const char* name;
        bool transcriber;
        LockState start;
        void (*act)(Application&);
        Strings calls;
        LockState state;
    } rows[] = {
        {"LockAll", false, UNLOCKED, [](Application& a) { a.LockAll(); },
         {"icon add in UNLOCKED", "word 1 in UNLOCKED", "input-lock 0 in UNLOCKED"}, LOCKED_ALL},
        {"LockAll twice", false, LOCKED_ALL, [](Application& a) { a.LockAll(); },
         {"input-lock 0 in LOCKED_ALL"}, LOCKED_ALL},
        {"LockPanelOnly from LOCKED_ALL", false, LOCKED_ALL, [](Application& a) { a.LockPanelOnly(); },
         {"input-lock 1 in LOCKED_ALL"}, LOCKED_PANEL},
        {"UnlockAll", false, LOCKED_PANEL, [](Application& a) { a.UnlockAll(); },
         {"icon remove in LOCKED_PANEL", "word 2 in LOCKED_PANEL", "input-lock 1 in LOCKED_PANEL"}, UNLOCKED},
        {"UnlockAll while unlocked", false, UNLOCKED, [](Application& a) { a.UnlockAll(); },
         {"input-lock 1 in UNLOCKED"}, UNLOCKED},
        {"Relock LOCKED_PANEL", false, UNLOCKED, [](Application& a) { a.Relock(LOCKED_PANEL); },
         {"icon add in UNLOCKED", "word 1 in UNLOCKED", "input-lock 1 in UNLOCKED"}, LOCKED_PANEL},
        {"transcriber LockPanelOnly", true, UNLOCKED, [](Application& a) { a.LockPanelOnly(); },
         {"icon add in UNLOCKED", "input-lock 0 in UNLOCKED"}, LOCKED_ALL},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuildIn(row.transcriber, row.start);
        Recorder recorder{};
        recorder.lock = app.lockWindow.get();
        Recorder::current = &recorder;
        {
            ImportHook<decltype(&SHNotificationAdd)> add(__imp_SHNotificationAdd, &Recorder::Add);
            ImportHook<decltype(&SHNotificationRemove)> remove(__imp_SHNotificationRemove, &Recorder::Remove);
            ImportHook<decltype(&SetWindowLongW)> word(__imp_SetWindowLongW, &Recorder::SetWord);
            ImportHook<decltype(&KernelIoControl)> io(__imp_KernelIoControl, &Recorder::IoControl);
            row.act(app);
        }
        Recorder::current = nullptr;
        EXPECT_EQ(recorder.calls, row.calls);
        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(row.state)));
    }
}

// ---- Feedback ----------------------------------------------------------------------------------

struct FeedbackRow {
    bool enabled;  // Vibrate or Beep
    bool ifDifferent;
    bool changed;
    bool force;
    bool plays;
};

const FeedbackRow kFeedback[] = {
    {false, false, false, false, false},
    {false, false, true, false, false},   // a change alone does not ask for feedback
    {false, true, true, false, false},    // nor does VibrateIfDifferent without the kind on
    {false, false, false, true, true},    // force plays even with the kind off
    {true, false, false, false, true},
    {true, false, true, false, true},
    {true, true, false, false, false},    // only when the lock changed
    {true, true, true, false, true},
    {true, true, false, true, true},      // force wins over VibrateIfDifferent
};

TEST_F(LockActionsTest, FeedbackPlaysAsTheSettingsSayOrWhenForced) {
    Settings& s = app.settingsWindow.current;
    for (bool vibrate : {true, false}) {
        int n = 0;
        for (const FeedbackRow& row : kFeedback) {
            const bool isLock = ++n % 2 == 0;
            SCOPED_TRACE(std::string(vibrate ? "VibrateFeedback" : "BeepFeedback") + " row " + std::to_string(n));
            // Fresh workers: an earlier pattern still pending would drop this one.
            app.vibrator = std::make_unique<Vibrator>();
            app.beeper = std::make_unique<Beeper>();
            s.Vibrate = vibrate && row.enabled;
            s.Beep = !vibrate && row.enabled;
            s.VibrateIfDifferent = row.ifDifferent;
            if (vibrate) app.VibrateFeedback(isLock, row.changed, row.force);
            else app.BeepFeedback(isLock, row.changed, row.force);

            const FeedbackPattern* wanted = nullptr;
            if (row.plays && vibrate) wanted = isLock ? LockVibratePattern : UnlockVibratePattern;
            if (row.plays && !vibrate) wanted = isLock ? LockBeepPattern : UnlockBeepPattern;
            const FeedbackWorker& asked = vibrate ? static_cast<FeedbackWorker&>(*app.vibrator) : *app.beeper;
            const FeedbackWorker& other = vibrate ? static_cast<FeedbackWorker&>(*app.beeper) : *app.vibrator;
            EXPECT_EQ(asked.Pending(), wanted);
            EXPECT_EQ(other.Pending(), nullptr) << "the other kind played";
        }
    }
}

TEST_F(LockActionsTest, AFeedbackRequestWhileAPatternIsPendingIsDropped) {
    app.settingsWindow.current.Vibrate = true;
    app.vibrator = std::make_unique<Vibrator>();
    const uint64_t since = test::LogCount();
    app.VibrateFeedback(false, true, false);
    app.VibrateFeedback(true, true, false);
    EXPECT_EQ(app.vibrator->Pending(), UnlockVibratePattern);
    ASSERT_TRUE(test::WaitUntil([&] { return app.vibrator->Pending() == nullptr; }, 5000));
    EXPECT_EQ(Events(since, "vibrate on").size(), 2u) << "the unlock pattern, and nothing after it";
}

}  // namespace
