// What the lock tests share: the Application singleton set up with fresh lock machinery, and
// the device as the lock actions leave it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"

namespace locktest {

// Device events (without time stamps) from `since` on, those containing `text` only.
inline std::vector<std::string> Events(uint64_t since, const std::string& text = "") {
    std::vector<std::string> events;
    for (const std::string& line : test::LogLines(since)) {
        std::string event = line.substr(line.find(' ') + 1);
        if (event.find(text) != std::string::npos) events.push_back(event);
    }
    return events;
}

// One value of `devemu state`.
inline std::string State(const std::string& key) {
    const std::string state = "\n" + test::Devemu({L"state"}).out;
    const size_t at = state.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const size_t start = at + key.size() + 2;
    return state.substr(start, state.find('\n', start) - start);
}

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
