#include "GestureRecording.h"

#include <algorithm>

#include "GestureMatcher.h"

namespace {

// A point-to-point difference brought into -179..180: a half turn counts as +180.
int32_t PointDifference(int32_t from, int32_t to) {
    int32_t d = static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
    if (d >= 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

int Sign(int32_t value) { return (value > 0) - (value < 0); }

// Appends steps to a gesture, never more than it can hold before its terminating 0.
class StepWriter {
public:
    bool Full() const { return count_ == kMaxGestureSteps; }

    void Write(int32_t step) {
        if (!Full()) gesture_.steps[count_++] = step;
    }

    // A run of turning one way: whole quarter turns, then what is left.
    void WriteRun(int32_t run) {
        int32_t remainder = run;
        if (run >= 90) {
            for (int32_t i = 0; i < run / 90 && !Full(); ++i) Write(90);
            remainder = run % 90;
        } else if (run <= -90) {
            for (int32_t i = 0; i < -run / 90 && !Full(); ++i) Write(-90);
            remainder = -(-run % 90);
        }
        if (remainder != 0) Write(remainder);
    }

    Gesture Result() const { return gesture_; }  // zero-filled: the terminator stands

private:
    Gesture gesture_{};
    int count_ = 0;
};

}  // namespace

int32_t PassedMultipleOf45(int32_t previous, int32_t angle) {
    int64_t lo = std::min(previous, angle);
    int64_t hi = std::max(previous, angle);
    if (hi - lo >= 180) {
        // The short way across 0: from hi up through 360 (= 0) to lo.
        const int64_t oldLo = lo;
        lo = hi - 360;
        hi = oldLo;
    }
    for (int32_t m = 0; m < 360; m += 45) {
        if (lo <= m && m <= hi) return m;
    }
    return kNoMultipleOf45;
}

void GestureRecording::Sample(int32_t reading) {
    if (!WantsSample()) return;
    const int32_t angle = NormalizeAngle(reading);
    const int32_t m = PassedMultipleOf45(previousAngle, angle);
    previousAngle = angle;
    if (m == kNoMultipleOf45 || m == points[lastPoint]) return;
    points[++lastPoint] = m;
}

Gesture Simplify(std::span<const int32_t> points) {
    StepWriter writer;
    int32_t run = 0;
    for (size_t i = 0; i < points.size() && !writer.Full(); ++i) {
        // The end of the path counts as a change of direction, so the last run is written.
        const int32_t d = i + 1 == points.size() ? 0 : PointDifference(points[i], points[i + 1]);
        if (run == 0) {
            run = d;
        } else if (Sign(d) == Sign(run)) {
            run += d;
        } else {
            writer.WriteRun(run);
            run = d;
        }
    }
    return writer.Result();
}

int64_t TurnedInAll(const Gesture& gesture) {
    int64_t turned = 0;
    for (int i = 0; i < kGestureEntries && gesture.steps[i] != 0; ++i) {
        turned += gesture.steps[i] < 0 ? -int64_t{gesture.steps[i]} : gesture.steps[i];
    }
    return turned;
}
