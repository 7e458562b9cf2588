// The lock actions and the lock window on the emulated device: the state table in each mode with
// the order of its effects, Relock, the settings values, touch registration, the feedback rules.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "ce/Kernel.h"

// The (writable) import slot through which the program's code, linked in, sends the lock request.
extern "C" decltype(&KernelIoControl) __imp_KernelIoControl;

namespace {

using test::Events;
using test::StateValue;
using Strings = std::vector<std::string>;

// Each request, noted with the icon the device shows, the window word and the state field then.
Strings requests;
decltype(&KernelIoControl) realIoControl;

BOOL WINAPI IoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* done) {
    const auto enable = std::to_string(static_cast<InputLockRequest*>(in)->enable);
    if (const LockWindow* lock = Application::Instance().lockWindow.get()) {
        requests.push_back(enable + " with icon " + StateValue("icon") + ", word " +
                           std::to_string(GetWindowLongW(lock->Window(), 0)) + ", state " +
                           std::to_string(lock->GetState()));
    } else {
        requests.push_back(enable + " from a window being built");
    }
    return realIoControl(code, in, inSize, out, outSize, done);
}

// The test process's own Application, never started, with a reset device and default options.
class LockTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        app.settingsWindow.current = Settings{};
        realIoControl = std::exchange(__imp_KernelIoControl, &IoControl);
    }
    void TearDown() override {
        __imp_KernelIoControl = realIoControl;
        app.lockWindow.reset();
        app.notificationIcon.reset();
        app.vibrator.reset();
        app.beeper.reset();
    }

    Application& app = Application::Instance();
    Settings& s = app.settingsWindow.current;
};

// Each action, or Relock to the state it locks to, from each state of each mode, with ShowIcon on or
// off before and for the action: the icon and the word change before the one request, the state
// field after it. A window loads touch.dll once and registers, unless it is absent or in Transcriber
// mode, frees keys and panel as it is built, is never shown, and at its end takes its class and
// the panel lock along, but no request.
TEST_F(LockTest, EveryRowOfTheStateTableInEachMode) {
    enum Mode { kNormal, kNoTouch, kTranscriber };
    const struct {
        const char* name;
        std::function<bool()> act;
        LockState state;
        uint32_t gestureLock = 0;  // read by ApplyGestureLock only
    } actions[] = {
        {"LockAll", [this] { return app.LockAll(); }, LOCKED_ALL},
        {"LockPanelOnly", [this] { return app.LockPanelOnly(); }, LOCKED_PANEL},
        {"UnlockAll", [this] { return app.UnlockAll(); }, UNLOCKED},
        // Settings values outside the named ones lock too (the named ones also run end to end).
        {"ResumeBehaviour 7", [this] { return app.ApplyResumeAction(7); }, LOCKED_PANEL},
        {"GestureLock 2", [this] { return app.ApplyGestureLock(); }, LOCKED_PANEL, 2},
        {"GestureLock 3", [this] { return app.ApplyGestureLock(); }, LOCKED_ALL, 3},
    };
    for (Mode mode : {kNormal, kNoTouch, kTranscriber}) {
        test::Play({L"touch", mode == kNoTouch ? L"absent" : L"present"});
        // In Transcriber compatibility mode the panel cannot be locked alone and the word stays 2.
        const bool panel = mode != kTranscriber;
        for (LockState start : {LOCKED_ALL, LOCKED_PANEL, UNLOCKED}) {
            if (!panel && start == LOCKED_PANEL) continue;  // not a state of this mode
            for (const auto& action : actions) {
                for (int variant = 0; variant < 8; ++variant) {
                    const bool relock = variant & 1, iconBefore = variant & 2, showIcon = variant & 4;
                    const LockState after = !panel && action.state == LOCKED_PANEL ? LOCKED_ALL : action.state;
                    SCOPED_TRACE(testing::Message() << "mode " << mode << ", state " << start << ", " << action.name
                                                    << (relock ? " by Relock" : "") << ", ShowIcon " << variant / 2);
                    const uint64_t built = test::LogCount();
                    s.TranscriberCompatibility = !panel;
                    s.ShowIcon = iconBefore;
                    app.notificationIcon = std::make_unique<NotificationIcon>(AppInstance);
                    requests.clear();
                    app.lockWindow = std::make_unique<LockWindow>(app.settingsWindow);
                    // Whatever an earlier instance left, the device starts free, as the state does.
                    EXPECT_EQ(requests, Strings{"1 from a window being built"});
                    EXPECT_EQ(GetModuleHandleW(L"touch.dll") != nullptr, mode == kNormal);
                    EXPECT_TRUE(start == UNLOCKED || (start == LOCKED_ALL ? app.LockAll() : app.LockPanelOnly()));

                    s.ShowIcon = showIcon;
                    s.GestureLock = action.gestureLock;
                    requests.clear();
                    if (relock) app.Relock(action.state);
                    else EXPECT_EQ(action.act(), after != start) << "whether it changed";
                    const std::string icon = showIcon && after != UNLOCKED ? "shown id=1" : "hidden";
                    const std::string word = panel && after != UNLOCKED ? "1" : "2";
                    EXPECT_EQ(requests, Strings{(after == LOCKED_ALL ? "0" : "1") + (" with icon " + icon) + ", word " +
                                                word + ", state " + std::to_string(start)});
                    EXPECT_EQ(app.lockWindow->GetState(), after);
                    EXPECT_EQ(StateValue("panel"), mode != kNormal ? "unregistered" : word == "1" ? "locked" : "free");
                    EXPECT_FALSE(IsWindowVisible(app.lockWindow->Window()));

                    app.lockWindow.reset();
                    const Strings touch = {"touch register", "touch unregister"};
                    EXPECT_EQ(Events(built, "touch "), mode == kNormal ? touch : Strings{});
                    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr) << "loaded more than once";
                    EXPECT_EQ(StateValue("input"), after == LOCKED_ALL ? "locked" : "free");
                    EXPECT_FALSE(UnregisterClassW(L"VARNEL/STYLUSWINDOW", AppInstance)) << "class left";
                }
            }
        }
    }
    // 0, as the resume action or as GestureLock, does nothing at all.
    app.lockWindow = std::make_unique<LockWindow>(app.settingsWindow);
    s.GestureLock = 0;
    const uint64_t since = test::LogCount();
    EXPECT_FALSE(app.ApplyResumeAction(DoNothing));
    EXPECT_FALSE(app.ApplyGestureLock());
    EXPECT_EQ(Events(since), Strings{});
}

// Feedback plays when its kind is on (with VibrateIfDifferent, only when the lock changed) or
// when forced, the lock's pattern or the unlock's; the other kind stays silent.
TEST_F(LockTest, FeedbackPlaysAsTheSettingsSayOrWhenForced) {
    // The kind on, VibrateIfDifferent, the lock changed, forced; and whether it plays.
    const bool rows[][5] = {{0, 1, 1, 0, 0}, {0, 0, 0, 1, 1}, {1, 0, 0, 0, 1},
                            {1, 1, 0, 0, 0}, {1, 1, 1, 0, 1}, {1, 1, 0, 1, 1}};
    for (int i = 0; i < 12; ++i) {
        const auto& [on, ifDifferent, changed, force, plays] = rows[i / 2];
        const bool vibrate = i % 2 == 0, isLock = i % 4 < 2;
        // Fresh workers: a pattern still pending would drop the next.
        app.vibrator = std::make_unique<Vibrator>();
        app.beeper = std::make_unique<Beeper>();
        s.Vibrate = vibrate && on;
        s.Beep = !vibrate && on;
        s.VibrateIfDifferent = ifDifferent;
        (app.*(vibrate ? &Application::VibrateFeedback : &Application::BeepFeedback))(isLock, changed, force);
        const FeedbackPattern* pattern = vibrate ? (isLock ? LockVibratePattern : UnlockVibratePattern)
                                                 : (isLock ? LockBeepPattern : UnlockBeepPattern);
        EXPECT_EQ(app.vibrator->Pending(), vibrate && plays ? pattern : nullptr) << "case " << i;
        EXPECT_EQ(app.beeper->Pending(), !vibrate && plays ? pattern : nullptr) << "case " << i;
    }
}

}  // namespace
