#include "ControllerFixture.h"

#include <cstdlib>

#include "Device.h"

namespace e2e {

using test::Play;

void ControllerTest::SetUp() {
    test::StopInstances();
    test::DeleteSettingsKey();
    ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    Play({L"clock", std::to_wstring(kStartUptime)});
}

void ControllerTest::TearDown() {
    varnel.reset();
    test::StopInstances();
}

void ControllerTest::Start(const Options& options) {
    for (const auto& [name, value] : options) test::WriteSettingsDword(name, value);
    varnel = std::make_unique<test::VarnelProcess>(L"");
    ASSERT_TRUE(varnel->WaitResident());
    // Unlocking an unlocked phone changes nothing but still sends its request.
    Command(0);
}

void ControllerTest::Command(uint32_t word) {
    const uint64_t since = test::LogCount();
    Play({L"post", L"lock", std::to_wstring(word)});
    EXPECT_GE(test::WaitForLog("input-lock", since), 0) << "command " << word << " was not carried out";
}

void ControllerTest::Wake() { test::PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}}); }

void ControllerTest::PostAndSettle(const wchar_t* message, uint32_t settleWord) {
    Play({L"post", message});
    // The main thread handles its messages in order.
    Command(settleWord);
}

bool ControllerTest::ProbeLockedAll() {
    const uint64_t since = test::LogCount();
    // The power monitor reads the line as it is when it takes a status change up: the second
    // change waits until the first has been seen.
    Play({L"ac", L"online"});
    EXPECT_GE(test::WaitForLog("input-lock", since), 0);
    Play({L"ac", L"offline"});
    const int64_t relock = WaitForCount("input-lock", 2, since);
    EXPECT_GE(relock, 0) << "the power line probe got no answer";
    return relock >= 0 && test::LogLines(static_cast<uint64_t>(relock)).front().ends_with("enable=0");
}

void ControllerTest::WaitTicks(int count) {
    const unsigned long start = std::stoul(test::StateValue("sensor-reads"));
    EXPECT_TRUE(test::WaitUntil([&] { return std::stoul(test::StateValue("sensor-reads")) >= start + count; }))
        << "the gesture tick does not read the sensor";
}

Strings ControllerTest::LockEvents(uint64_t since) {
    Strings events;
    for (const std::string& event : test::Events(since)) {
        if (event.starts_with("input-lock") || event.starts_with("icon ")) events.push_back(event);
    }
    return events;
}

Strings ControllerTest::WaitForLockEvents(uint64_t since, size_t count, DWORD timeoutMs) {
    Strings events;
    test::WaitUntil([&] { return (events = LockEvents(since)).size() >= count; }, timeoutMs);
    return events;
}

Strings ControllerTest::WaitForVibration(uint64_t since, size_t pulses) {
    EXPECT_GE(WaitForCount("vibrate off", pulses, since), 0) << "no vibration";
    return test::Events(since, "vibrate");
}

uint32_t ControllerTest::FirstPulseMs(uint64_t since) {
    return TimeOf(test::FindLog("vibrate off", since)) - TimeOf(test::FindLog("vibrate on", since));
}

int64_t ControllerTest::WaitForCount(const std::string& text, size_t count, uint64_t since, DWORD timeoutMs) {
    int64_t last = -1;
    test::WaitUntil([&] {
        size_t seen = 0;
        uint64_t index = since;
        for (const std::string& line : test::LogLines(since)) {
            if (line.find(text) != std::string::npos && ++seen == count) {
                last = static_cast<int64_t>(index);
                return true;
            }
            ++index;
        }
        return false;
    }, timeoutMs);
    return last;
}

uint32_t ControllerTest::TimeOf(int64_t index) {
    const Strings lines = test::LogLines(static_cast<uint64_t>(index));
    return lines.empty() ? 0 : static_cast<uint32_t>(std::strtoul(lines.front().c_str(), nullptr, 10));
}

std::wstring PowerQueueObject(const wchar_t* suffix) {
    return devemu::ObjectName(L"msgq/POWER_MSG_QUEUE") + suffix;
}

PowerQueueHold::PowerQueueHold()
    : mutex_(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, PowerQueueObject(L"/lock").c_str())) {
    held_ = mutex_ && WaitForSingleObject(mutex_.get(), 10000) == WAIT_OBJECT_0;
    EXPECT_TRUE(held_) << "the power queue's lock: no program holds the queue, or it is not let go";
}

PowerQueueHold::~PowerQueueHold() {
    if (held_) ReleaseMutex(mutex_.get());
}

}  // namespace e2e
