// What the lock tests share: the Application singleton with fresh lock machinery per test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"

namespace locktest {

inline LONG Word(const LockWindow& lock) { return GetWindowLongW(lock.Window(), 0); }

// The test process's own Application: never started, so no controller thread; each test gets a
// reset device, the options it names and a new lock window and icon.
class LockTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        Settings& s = app.settingsWindow.current;
        s.ShowIcon = true;
        s.TranscriberCompatibility = false;
        s.GestureLock = 1;
        s.Vibrate = false;
        s.Beep = false;
        s.VibrateIfDifferent = false;
    }
    void TearDown() override {
        app.lockWindow.reset();
        app.notificationIcon.reset();
        app.vibrator.reset();
        app.beeper.reset();
    }

    void Build(bool transcriber) {
        // The old window goes first: its class cannot be unregistered while another window has it.
        app.lockWindow.reset();
        app.notificationIcon.reset();
        app.settingsWindow.current.TranscriberCompatibility = transcriber;
        app.notificationIcon = std::make_unique<NotificationIcon>(AppInstance);
        app.lockWindow = std::make_unique<LockWindow>(app.settingsWindow);
    }

    Application& app = Application::Instance();
};

}  // namespace locktest
