// The lock actions and the lock window on the emulated device: the state table in both modes with
// the order of its effects, Relock, the settings values, the feedback rules, touch registration.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Device.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "ce/Kernel.h"
#include "ce/Shell.h"

// The import slots of this test program through which the program's code, linked into it,
// calls the shell and the kernel.
extern "C" {
extern decltype(&SHNotificationAdd) __imp_SHNotificationAdd;
extern decltype(&SHNotificationRemove) __imp_SHNotificationRemove;
extern decltype(&KernelIoControl) __imp_KernelIoControl;
}

namespace {

using test::Events;
using test::StateValue;
using Strings = std::vector<std::string>;

const char* Name(LockState s) {
    return s == LOCKED_ALL ? "LOCKED_ALL" : s == LOCKED_PANEL ? "LOCKED_PANEL" : "UNLOCKED";
}

// Calls to the shell and the device, recorded through the import slots.
template <class F>
F Swap(F& importSlot, F value) {
    DWORD old;
    VirtualProtect(&importSlot, sizeof importSlot, PAGE_READWRITE, &old);
    std::swap(importSlot, value);
    VirtualProtect(&importSlot, sizeof importSlot, old, &old);
    return value;
}

const LockWindow* recorded = nullptr;
Strings calls;
decltype(&SHNotificationAdd) realAdd;
decltype(&SHNotificationRemove) realRemove;
decltype(&KernelIoControl) realIoControl;

// Each call is noted with the window word and the lock state field as they are, then forwarded.
void Note(const std::string& call) {
    const std::string word = std::to_string(GetWindowLongW(recorded->Window(), 0));
    calls.push_back(call + " with word " + word + " in " + Name(recorded->GetState()));
}
LRESULT WINAPI Add(SHNOTIFICATIONDATA* data) {
    Note("icon add");
    return realAdd(data);
}
LRESULT WINAPI Remove(const CLSID* clsid, DWORD id) {
    Note("icon remove");
    return realRemove(clsid, id);
}
BOOL WINAPI IoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* done) {
    InputLockRequest request{};
    if (code == IOCTL_INPUT_LOCK && inSize == sizeof request) std::memcpy(&request, in, inSize);
    Note("input-lock " + std::to_string(request.enable));
    return realIoControl(code, in, inSize, out, outSize, done);
}

Strings Record(const LockWindow& lock, const std::function<void()>& act) {
    recorded = &lock;
    calls.clear();
    realAdd = Swap(__imp_SHNotificationAdd, &Add);
    realRemove = Swap(__imp_SHNotificationRemove, &Remove);
    realIoControl = Swap(__imp_KernelIoControl, &IoControl);
    act();
    Swap(__imp_SHNotificationAdd, realAdd);
    Swap(__imp_SHNotificationRemove, realRemove);
    Swap(__imp_KernelIoControl, realIoControl);
    return calls;
}

// The test process's own Application: never started, so no controller thread; each test gets a
// reset device, default options and the lock window and icon it builds.
class LockTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        app.settingsWindow.current = Settings{};
    }
    void TearDown() override {
        app.lockWindow.reset();
        app.notificationIcon.reset();
        app.vibrator.reset();
        app.beeper.reset();
    }

    // A new lock window (the old one goes first: its class cannot be unregistered while another
    // window has it) and icon, in `start` reached the way the program reaches it.
    void Build(bool transcriber, LockState start = UNLOCKED, bool showIcon = true) {
        app.lockWindow.reset();
        app.notificationIcon.reset();
        app.settingsWindow.current.TranscriberCompatibility = transcriber;
        app.settingsWindow.current.ShowIcon = showIcon;
        app.notificationIcon = std::make_unique<NotificationIcon>(AppInstance);
        app.lockWindow = std::make_unique<LockWindow>(app.settingsWindow);
        if (start == LOCKED_ALL) app.LockAll();
        if (start == LOCKED_PANEL) app.LockPanelOnly();
        ASSERT_EQ(app.lockWindow->GetState(), start);
    }

    Application& app = Application::Instance();
};

// ---- Lock actions ------------------------------------------------------------------------------

// The state after each action from each state of each mode. Relock of that state does the same.
const struct {
    bool transcriber;
    LockState start;
    LockState after[3];
} kTable[] = {
    {false, LOCKED_ALL, {LOCKED_ALL, LOCKED_PANEL, UNLOCKED}},
    {false, LOCKED_PANEL, {LOCKED_ALL, LOCKED_PANEL, UNLOCKED}},
    {false, UNLOCKED, {LOCKED_ALL, LOCKED_PANEL, UNLOCKED}},
    // Transcriber compatibility: the panel alone cannot be locked and the word stays 2.
    {true, LOCKED_ALL, {LOCKED_ALL, LOCKED_ALL, UNLOCKED}},
    {true, UNLOCKED, {LOCKED_ALL, LOCKED_ALL, UNLOCKED}},
};
const struct {
    const char* name;
    bool (Application::*run)();
    LockState saved;
} kActions[] = {{"LockAll", &Application::LockAll, LOCKED_ALL},
                {"LockPanelOnly", &Application::LockPanelOnly, LOCKED_PANEL},
                {"UnlockAll", &Application::UnlockAll, UNLOCKED}};

TEST_F(LockTest, EveryRowOfTheStateTableInBothModesInOrderAndRelockAlike) {
    // From `row.start`, action `a` or Relock with the state it reaches, with ShowIcon `iconBefore`
    // while the start is reached and `showIcon` for the action.
    auto check = [&](const auto& row, int a, bool relock, bool iconBefore, bool showIcon) {
        const LockState after = row.after[a];
        SCOPED_TRACE(std::string(row.transcriber ? "transcriber, " : "") + "from " +
                     Name(row.start) + ", " + (relock ? "Relock as " : "") + kActions[a].name +
                     ", ShowIcon " + "01"[iconBefore] + " then " + "01"[showIcon]);
        const uint64_t built = test::LogCount();
        Build(row.transcriber, row.start, iconBefore);
        EXPECT_EQ(Events(built, "touch register").size(), row.transcriber ? 0u : 1u);
        EXPECT_EQ(GetModuleHandleW(L"touch.dll") == nullptr, row.transcriber);
        app.settingsWindow.current.ShowIcon = showIcon;
        const Strings calls = Record(*app.lockWindow, [&] {
            if (relock) app.Relock(kActions[a].saved);
            else EXPECT_EQ((app.*kActions[a].run)(), after != row.start) << "whether it changed";
        });

        // The icon, then the word, then one request (also when nothing changes), then the state.
        auto word = [&](LockState s) { return !row.transcriber && s != UNLOCKED ? 1 : 2; };
        auto seen = [&](const std::string& call, LockState wordOf) {
            return call + " with word " + std::to_string(word(wordOf)) + " in " + Name(row.start);
        };
        const bool shown = iconBefore && row.start != UNLOCKED;
        const bool showing = showIcon && after != UNLOCKED;
        Strings wanted;
        if (shown != showing) {
            wanted.push_back(seen(showing ? "icon add" : "icon remove", row.start));
        }
        wanted.push_back(seen(after == LOCKED_ALL ? "input-lock 0" : "input-lock 1", after));
        EXPECT_EQ(calls, wanted);

        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(after)));
        EXPECT_EQ(GetWindowLongW(app.lockWindow->Window(), 0), word(after));
        EXPECT_EQ(StateValue("input"), after == LOCKED_ALL ? "locked" : "free");
        EXPECT_EQ(StateValue("panel"), row.transcriber     ? "unregistered"
                                       : after != UNLOCKED ? "locked"
                                                           : "free");
        EXPECT_EQ(StateValue("icon") != "hidden", showing);
        EXPECT_FALSE(IsWindowVisible(app.lockWindow->Window()));
    };
    for (const auto& row : kTable)
        for (int a = 0; a < 3; ++a)
            for (bool relock : {false, true})
                for (bool iconBefore : {true, false})
                    for (bool showIcon : {true, false}) check(row, a, relock, iconBefore, showIcon);
}

// The resume action and the gesture lock are settings values turned into lock actions: 0 does
// nothing, and any value outside the named ones falls back to a lock.
TEST_F(LockTest, SettingsValuesOutsideTheNamedOnesStillLock) {
    struct Row {
        bool gesture;  // GestureLock through ApplyGestureLock, else ApplyResumeAction
        uint32_t value;
        LockState start;
        LockState state;
    } rows[] = {
        {false, 0, LOCKED_PANEL, LOCKED_PANEL}, {false, 1, UNLOCKED, LOCKED_ALL},
        {false, 2, UNLOCKED, LOCKED_PANEL},     {false, 3, LOCKED_ALL, UNLOCKED},
        {false, 7, LOCKED_ALL, LOCKED_PANEL},   {false, ~0u, UNLOCKED, LOCKED_PANEL},
        {true, 0, UNLOCKED, UNLOCKED},          {true, 1, UNLOCKED, LOCKED_ALL},
        {true, 2, UNLOCKED, LOCKED_PANEL},      {true, 3, LOCKED_PANEL, LOCKED_ALL},
        {true, ~0u, UNLOCKED, LOCKED_ALL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.gesture ? "GestureLock " : "ApplyResumeAction ") +
                     std::to_string(row.value) + " from " + Name(row.start));
        Build(false, row.start);
        app.settingsWindow.current.GestureLock = row.value;
        const uint64_t since = test::LogCount();
        EXPECT_EQ(row.gesture ? app.ApplyGestureLock() : app.ApplyResumeAction(row.value),
                  row.start != row.state);
        EXPECT_EQ(Name(app.lockWindow->GetState()), std::string(Name(row.state)));
        EXPECT_EQ(Events(since).empty(), row.value == 0) << "only 0 leaves the device alone";
    }
}

TEST_F(LockTest, FeedbackPlaysAsTheSettingsSayOrWhenForced) {
    const struct Row {
        bool enabled;  // Vibrate or Beep
        bool ifDifferent;
        bool changed;
        bool force;
        bool plays;
    } rows[] = {
        {false, false, true, false, false},  // a change alone does not ask for feedback
        {false, true, true, false, false},   // nor does VibrateIfDifferent without the kind on
        {false, false, false, true, true},   // force plays even with the kind off
        {true, false, false, false, true},   // the kind on plays without a change
        {true, true, false, false, false},   // VibrateIfDifferent: only when the lock changed
        {true, true, true, false, true},
        {true, true, false, true, true},  // force wins over VibrateIfDifferent
    };
    Settings& s = app.settingsWindow.current;
    for (bool vibrate : {true, false}) {
        for (const Row& row : rows) {
            const bool isLock = (&row - rows) % 2 == 1;
            SCOPED_TRACE(testing::Message()
                         << (vibrate ? "Vibrate" : "Beep") << "Feedback, row " << &row - rows);
            // Fresh workers: an earlier pattern still pending would drop this one.
            app.vibrator = std::make_unique<Vibrator>();
            app.beeper = std::make_unique<Beeper>();
            s.Vibrate = vibrate && row.enabled;
            s.Beep = !vibrate && row.enabled;
            s.VibrateIfDifferent = row.ifDifferent;
            if (vibrate) app.VibrateFeedback(isLock, row.changed, row.force);
            else app.BeepFeedback(isLock, row.changed, row.force);

            const bool vibrates = row.plays && vibrate, beeps = row.plays && !vibrate;
            EXPECT_EQ(app.vibrator->Pending(),
                      !vibrates ? nullptr : isLock ? LockVibratePattern : UnlockVibratePattern);
            EXPECT_EQ(app.beeper->Pending(),
                      !beeps ? nullptr : isLock ? LockBeepPattern : UnlockBeepPattern);
        }
    }
}

// ---- The lock window ---------------------------------------------------------------------------

TEST_F(LockTest, TouchRegistersTheLockWindowAndAllGoesWithIt) {
    Build(false, LOCKED_ALL);
    EXPECT_EQ(devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.touch.window; }),
              reinterpret_cast<uint64_t>(app.lockWindow->Window()));
    app.lockWindow->RegisterTouch();  // loaded already: nothing happens
    app.lockWindow.reset();
    EXPECT_EQ(Events(0, "touch"), (Strings{"touch register", "touch unregister"}));
    // One load, one free: a second load would keep the library in the process.
    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr);
    EXPECT_EQ(StateValue("input"), "locked") << "destruction sends no request";
    WNDCLASSW info{};
    EXPECT_FALSE(GetClassInfoW(AppInstance, L"VARNEL/STYLUSWINDOW", &info)) << "class left";
}

TEST_F(LockTest, WithoutTouchDllTheWindowStaysUnregisteredAndLockingStillWorks) {
    ASSERT_EQ(test::Devemu({L"touch", L"absent"}).code, 0);
    Build(false);
    const Strings calls = Record(*app.lockWindow, [&] { EXPECT_TRUE(app.LockAll()); });
    EXPECT_EQ(calls, (Strings{"icon add with word 2 in UNLOCKED",
                              "input-lock 0 with word 1 in UNLOCKED"}));
    EXPECT_EQ(StateValue("input"), "locked");
    EXPECT_EQ(StateValue("panel"), "unregistered");
    app.lockWindow.reset();
    EXPECT_EQ(Events(0, "touch"), Strings{"console touch absent"}) << "registered or unregistered";
}

}  // namespace
