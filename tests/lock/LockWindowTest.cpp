// The lock window: its touch registration in both modes, a missing touch.dll, and a window
// that is never seen and whose class goes with it.
#include <memory>

#include "Device.h"
#include "LockTestSupport.h"

namespace {

using test::Events;
using test::StateValue;
using locktest::Word;
using Strings = std::vector<std::string>;

class LockWindowTest : public locktest::LockTest {};

TEST_F(LockWindowTest, InTranscriberModeTouchIsNeverLoadedAndTheWordStaysTwo) {
    Build(true);
    EXPECT_TRUE(app.lockWindow->TranscriberMode());
    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr);
    EXPECT_EQ(StateValue("panel"), "unregistered");
    for (auto action : {&Application::LockPanelOnly, &Application::LockAll, &Application::UnlockAll}) {
        (app.*action)();
        EXPECT_EQ(Word(*app.lockWindow), 2);
    }
    app.lockWindow.reset();
    EXPECT_EQ(Events(0, "touch"), Strings{});
}

TEST_F(LockWindowTest, OutsideTranscriberModeTouchIsLoadedOnceWithTheLockWindowAndFreedAtTheEnd) {
    Build(false);
    EXPECT_FALSE(app.lockWindow->TranscriberMode());
    EXPECT_NE(GetModuleHandleW(L"touch.dll"), nullptr);
    EXPECT_EQ(Events(0, "touch"), Strings{"touch register"});
    const uint64_t registered = devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.touch.window; });
    EXPECT_EQ(registered, reinterpret_cast<uint64_t>(app.lockWindow->Window()));
    EXPECT_EQ(StateValue("panel"), "free");
    app.LockAll();
    EXPECT_EQ(StateValue("panel"), "locked");

    app.lockWindow->RegisterTouch();  // loaded already: nothing happens
    EXPECT_EQ(Events(0, "touch"), Strings{"touch register"});

    app.lockWindow.reset();
    EXPECT_EQ(Events(0, "touch"), (Strings{"touch register", "touch unregister"}));
    // One load, one free: a second load would keep the library in the process.
    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr);
    EXPECT_EQ(StateValue("panel"), "unregistered");
    EXPECT_EQ(StateValue("input"), "locked") << "destruction sends no request";
}

TEST_F(LockWindowTest, UnregisterTouchFreesThePanelFirst) {
    Build(false);
    app.LockPanelOnly();
    const HWND window = app.lockWindow->Window();
    app.lockWindow->UnregisterTouch();
    EXPECT_EQ(GetWindowLongW(window, 0), 2);
    EXPECT_EQ(Events(0, "touch"), (Strings{"touch register", "touch unregister"}));
    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr);
}

TEST_F(LockWindowTest, WithoutTouchDllTheWindowStaysUnregisteredAndLockingStillWorks) {
    ASSERT_EQ(test::Devemu({L"touch", L"absent"}).code, 0);
    Build(false);
    EXPECT_EQ(GetModuleHandleW(L"touch.dll"), nullptr);
    EXPECT_EQ(StateValue("panel"), "unregistered");
    const uint64_t since = test::LogCount();
    EXPECT_TRUE(app.LockAll());
    EXPECT_EQ(Word(*app.lockWindow), 1);
    EXPECT_EQ(StateValue("input"), "locked");
    EXPECT_EQ(Events(since, "input-lock"), Strings{"input-lock enable=0"});
    app.lockWindow.reset();
    EXPECT_EQ(Events(0, "touch register"), Strings{});
    EXPECT_EQ(Events(0, "touch unregister"), Strings{});

    ASSERT_EQ(test::Devemu({L"touch", L"present"}).code, 0);
    Build(false);
    EXPECT_EQ(StateValue("panel"), "free");
}

TEST_F(LockWindowTest, TheWindowIsNeverSeenAndItsClassGoesWithIt) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Build(false);
        const HWND window = app.lockWindow->Window();
        ASSERT_NE(window, nullptr);
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExW(AppInstance, L"VARNEL/STYLUSWINDOW", &info));
        EXPECT_EQ(info.cbWndExtra, 4);
        EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
        wchar_t title[32] = {};
        GetWindowTextW(window, title, 32);
        EXPECT_STREQ(title, L"Panel locked");
        for (auto action : {&Application::LockAll, &Application::LockPanelOnly, &Application::UnlockAll}) {
            (app.*action)();
            // Its size is not looked at: the desktop gives a top-level window of style 0 a caption
            // and so a minimum size, whatever it asked for.
            EXPECT_FALSE(IsWindowVisible(window));
            EXPECT_NE(GetForegroundWindow(), window);
        }
        app.lockWindow.reset();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(GetClassInfoExW(AppInstance, L"VARNEL/STYLUSWINDOW", &info)) << "class left registered";
    }
}

}  // namespace
