// What the lock controller's end-to-end tests share: varnel.exe started on a fresh device with
// the options a case names, driven through the device console, and the device log read back as
// lock requests, icon changes and feedback.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"

namespace e2e {

using Strings = std::vector<std::string>;
using Options = std::vector<std::pair<const wchar_t*, DWORD>>;

// The uptime every case starts at: far from 0, so that a call before the first resume is not
// within 10 s of "resume 0", and far from 2^31, where the signed difference turns negative.
constexpr uint32_t kStartUptime = 100000000;

// The vibration patterns as the device logs them.
const Strings kLockPulse = {"vibrate on led=1", "vibrate off led=1"};
const Strings kUnlockPulses = {"vibrate on led=1", "vibrate off led=1", "vibrate on led=1", "vibrate off led=1"};

class ControllerTest : public testing::Test {
protected:
    // No instance, no settings key, a fresh device at kStartUptime.
    void SetUp() override;
    void TearDown() override;

    // Writes the options (REG_DWORD values over the defaults), starts the program and returns
    // once its controller carries out commands; the log from here on is the case's own.
    void Start(const Options& options = {});
    // Posts a LockCommand word and waits for the lock request it sends.
    void Command(uint32_t word);
    // The phone sleeps and wakes again: the power monitor reports one resume.
    void Wake();
    // Posts a thread message ("disable", "enable") and returns once the main thread has handled
    // it: a command posted after it has been carried out.
    void PostAndSettle(const wchar_t* message, uint32_t settleWord);

    // Whether the phone is LOCKED_ALL, read through the power line (UnlockOnAC and RelockOnBattery
    // on): external power unlocks and saves the state, battery relocks to it. Both come through
    // the power queue, which is served after the call events, so every call event sent before
    // has been handled when the answer comes.
    bool ProbeLockedAll();
    // Waits until the gesture tick has read the sensor `count` more times.
    void WaitTicks(int count);

    // From log line `since` on, without time stamps: the lock requests and icon changes.
    static Strings LockEvents(uint64_t since);
    // The same, once there are at least `count` of them (or after the time-out).
    static Strings WaitForLockEvents(uint64_t since, size_t count, DWORD timeoutMs = 10000);
    // The vibration from `since` on, once `pulses` pulses have ended.
    static Strings WaitForVibration(uint64_t since, size_t pulses);
    // The length of the first pulse from `since` on: the lock pattern's is 75 ms, the unlock
    // pattern's 35 ms.
    static uint32_t FirstPulseMs(uint64_t since);
    // Waits until `count` lines from `since` on contain `text`; returns the index of the last
    // of them, or -1.
    static int64_t WaitForCount(const std::string& text, size_t count, uint64_t since, DWORD timeoutMs = 10000);
    // The uptime stamped on a log line.
    static uint32_t TimeOf(int64_t index);

    std::unique_ptr<test::VarnelProcess> varnel;
};

// The device's power queue, as the emulated coredll names its kernel objects.
std::wstring PowerQueueObject(const wchar_t* suffix);

// Holds the power queue's lock: a controller woken by a power message then stays in its power
// handler, out of its wait, until the hold ends, while the test signals other handles.
class PowerQueueHold {
public:
    PowerQueueHold();
    ~PowerQueueHold();
    PowerQueueHold(const PowerQueueHold&) = delete;
    PowerQueueHold& operator=(const PowerQueueHold&) = delete;

    bool Held() const { return held_; }

private:
    KernelHandle mutex_;
    bool held_ = false;
};

}  // namespace e2e
