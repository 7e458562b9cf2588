// What the lock controller's end-to-end tests share: varnel.exe started on a fresh device with
// the options a case names, driven through the device console, and the device log read back as
// lock requests, icon changes and feedback.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"

namespace e2e {

using Strings = std::vector<std::string>;
using Options = std::vector<std::pair<const wchar_t*, DWORD>>;

class ControllerTest : public testing::Test {
protected:
    void TearDown() override {
        // What the device saw, for a failure that the expectations alone do not explain.
        if (HasFailure()) {
            const auto lines = test::LogLines();
            for (size_t i = lines.size() > 80 ? lines.size() - 80 : 0; i < lines.size(); ++i) {
                std::printf("  device: %s\n", lines[i].c_str());
            }
        }
        varnel.reset();
    }

    // No instance, no settings key, a fresh device (an empty log) at an uptime far from 0 (a call
    // is not within 10 s of "resume 0") and from 2^31 (where the signed difference turns negative).
    void Fresh() {
        varnel.reset();
        test::StopInstances();
        test::DeleteSettingsKey();
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        test::Play({L"clock", L"100000000"});
    }

    // A fresh device, the options written over the defaults, and the program started; returns
    // once its controller has carried out the command `word`.
    void Start(const Options& options = {}, uint32_t word = 0) {
        Fresh();
        for (const auto& [name, value] : options) test::WriteSettingsDword(name, value);
        varnel = std::make_unique<test::VarnelProcess>(L"");
        ASSERT_TRUE(varnel->WaitResident());
        Command(word);
    }

    // Posts a LockCommand word and waits for the lock request it sends.
    static void Command(uint32_t word) {
        const uint64_t since = test::LogCount();
        test::Play({L"post", L"lock", std::to_wstring(word)});
        EXPECT_GE(test::WaitForLog("input-lock", since), 0) << "command " << word << " was not carried out";
    }

    // From log line `since` on, without time stamps: the lock requests, icon changes, vibration
    // and beeps, once there are at least `count` of them (or after 10 s).
    static Strings LockEvents(uint64_t since, size_t count = 0) {
        Strings events;
        test::WaitUntil([&] {
            events.clear();
            for (const std::string& event : test::Events(since)) {
                const bool lock = event.starts_with("input-lock") || event.starts_with("icon ");
                if (lock || event.starts_with("vibrate") || event.starts_with("beep")) events.push_back(event);
            }
            return events.size() >= count;
        });
        return events;
    }

    std::unique_ptr<test::VarnelProcess> varnel;
};

}  // namespace e2e
