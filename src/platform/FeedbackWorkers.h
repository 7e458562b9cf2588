// Vibration and beep patterns, each played on a worker thread of its own so that the caller
// never waits for one to finish.
#pragma once

#include <atomic>
#include <cstdint>

#include "app/Event.h"
#include "app/WorkerThread.h"

// A zero-terminated array of steps: v > 0 vibrates for v ms (the Beeper beeps once, no pause);
// v < 0 is a pause of -v ms.
using FeedbackPattern = int16_t;

extern const FeedbackPattern LockVibratePattern[];
extern const FeedbackPattern UnlockVibratePattern[];
extern const FeedbackPattern LockBeepPattern[];
extern const FeedbackPattern UnlockBeepPattern[];

// What the Vibrator and the Beeper share: the wake event, the stop flag and the pending pattern.
class FeedbackWorker : public WorkerThread {
public:
    // Hands over a pattern unless one is still pending; never blocks, never queues.
    void Play(const FeedbackPattern* pattern);
    // The pattern handed over and not yet played to its end; null when idle.
    const FeedbackPattern* Pending() const { return pending.load(); }

protected:
    FeedbackWorker() = default;

    // Tells the thread to stop and joins it: a pattern being played is played to its end first.
    // Called by the most derived destructor, while Run is still that class's: a thread that has
    // not yet entered Run would otherwise call the pure one of a half-destroyed object.
    void Stop();

    // Waits for a pattern and hands it to `step` value by value; false when told to stop.
    template <class Step>
    bool WaitAndPlay(Step&& step) {
        wake.Wait();
        if (const FeedbackPattern* pattern = pending.load()) {
            for (; *pattern != 0; ++pattern) step(*pattern);
            pending = nullptr;
        }
        return !stop.load();
    }

    Event wake;
    std::atomic<bool> stop{false};
    // Written by Play only while null, cleared by the worker only when played: no lock needed.
    std::atomic<const FeedbackPattern*> pending{nullptr};
};

// Drives the vibration motor, the last of the notification LEDs.
class Vibrator : public FeedbackWorker {
public:
    Vibrator();  // switches vibration off and starts the thread
    ~Vibrator() override { Stop(); }

protected:
    void Run() override;

private:
    void Switch(bool on);

    uint32_t ledNumber = 0;
};

// Plays the system's default sound.
class Beeper : public FeedbackWorker {
public:
    Beeper();  // starts the thread
    ~Beeper() override { Stop(); }

protected:
    void Run() override;
};
