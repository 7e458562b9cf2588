#include "TiltSensor.h"

namespace {

constexpr int32_t kMinReadIntervalMs = 75;
// After this many failures in a row the sensor is closed, so the next call opens it afresh.
constexpr int32_t kFailuresBeforeReopen = 10;

// Built before the program's threads start and closed after they have ended, so the detector on
// the controller's thread and the recorder on the main thread never see it half-built or gone.
TiltSensor sensor;

}  // namespace

TiltSensor& TiltSensor::Instance() { return sensor; }

const TiltReading& TiltSensor::ReadTilt() {
    const uint32_t now = GetTickCount();
    // A signed difference, so the throttle keeps working when the tick count wraps.
    if (haveReading_ && static_cast<int32_t>(now - lastReadTick_) < kMinReadIntervalMs) {
        return lastReading_;
    }
    if (!sensor_) sensor_.reset(HTCSensorOpen(SENSOR_KIND_TILT));
    if (sensor_) {
        TiltReading reading{};
        if (HTCSensorGetData(sensor_.get(), &reading)) {
            lastReading_ = reading;
            lastReadTick_ = now;
            failureCount_ = 0;
            haveReading_ = true;
            return lastReading_;
        }
    }
    // The last read tick stays, so the next call tries again at once.
    if (++failureCount_ == kFailuresBeforeReopen) {
        failureCount_ = 0;
        sensor_.reset();
    }
    return lastReading_;
}
