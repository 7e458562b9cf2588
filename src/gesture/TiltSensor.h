// The program's one reader of the G-sensor. Every call returns a reading: the newest one the
// library delivered, or zeros before the first. Failures are never reported, only retried.
#pragma once

#include <cstdint>

#include "ce/Sensor.h"

class TiltSensor {
public:
    // The process's sensor, shared by gesture detection and recording; it lives as long as the
    // process.
    static TiltSensor& Instance();

    // The program goes through Instance(); tests build their own to start afresh.
    TiltSensor() = default;
    virtual ~TiltSensor() = default;  // the handle's owner closes an open sensor

    TiltSensor(const TiltSensor&) = delete;
    TiltSensor& operator=(const TiltSensor&) = delete;

    // The last reading, refreshed first when the last good read is 75 ms old or more.
    const TiltReading& ReadTilt();

    int32_t FailureCount() const { return failureCount_; }
    bool IsOpen() const { return sensor_.valid(); }

private:
    SensorHandle sensor_;
    TiltReading lastReading_{};
    int32_t failureCount_ = 0;  // consecutive failed attempts
    uint32_t lastReadTick_ = 0;
    // Until the first good read there is nothing to throttle. Without this, a first call at an
    // uptime of 2^31 ms or more would see a negative age and wait another 24 days.
    bool haveReading_ = false;
};
