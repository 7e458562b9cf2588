#include "FeedbackWorkers.h"

#include "ce/Kernel.h"

const FeedbackPattern LockVibratePattern[] = {-200, 75, 0};
const FeedbackPattern UnlockVibratePattern[] = {-200, 35, -300, 35, 0};
const FeedbackPattern LockBeepPattern[] = {-200, 1, 0};
const FeedbackPattern UnlockBeepPattern[] = {-200, 1, -300, 1, 0};

// The join comes before the wake event is closed (with the members): a thread between its look
// at the stop flag and its wait would otherwise wait on a closed handle, or on whatever object
// had meanwhile been given the same handle value.
void FeedbackWorker::Stop() {
    stop = true;
    wake.Set();
    Wait();
}

void FeedbackWorker::Play(const FeedbackPattern* pattern) {
    const FeedbackPattern* none = nullptr;
    if (pending.compare_exchange_strong(none, pattern)) wake.Set();
}

Vibrator::Vibrator() {
    NLED_COUNT_INFO count{0};
    NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count);
    // No LEDs gives all ones: the driver then refuses every switch, which is harmless.
    ledNumber = count.cLeds - 1;
    Switch(false);
    Start();
}

void Vibrator::Switch(bool on) {
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = ledNumber;
    settings.OffOnBlink = on ? 1 : 0;
    NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
}

void Vibrator::Run() {
    bool more = !stop.load();
    while (more) {
        Switch(false);
        more = WaitAndPlay([this](FeedbackPattern v) {
            Switch(v > 0);
            Sleep(v > 0 ? v : -v);
        });
    }
    // Off at the end of every pattern, also one that ended on a pulse.
    Switch(false);
}

Beeper::Beeper() { Start(); }

void Beeper::Run() {
    bool more = !stop.load();
    while (more) {
        more = WaitAndPlay([](FeedbackPattern v) {
            if (v > 0) MessageBeep(MB_OK);
            else Sleep(-v);
        });
    }
}
