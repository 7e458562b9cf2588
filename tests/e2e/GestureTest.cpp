// Both gestures performed on the phone with the device console, with and without
// GesturesToggleLock, and the vibration that confirms them.
#include <string>
#include <vector>

#include "ControllerFixture.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::LogCount;
using test::Play;

const std::vector<std::wstring> kLockTurns = {L"-90", L"-90", L"-90", L"-45"};
const std::vector<std::wstring> kUnlockTurns = {L"90", L"90", L"90", L"45"};

struct GestureCase {
    bool toggle;
    const std::vector<std::wstring>* first;   // performed on the unlocked phone: locks it
    const std::vector<std::wstring>* second;  // performed on the locked phone: unlocks it
};
void PrintTo(const GestureCase& c, std::ostream* out) { *out << "GesturesToggleLock " << c.toggle; }

class GestureTest : public ControllerTest, public testing::WithParamInterface<GestureCase> {
protected:
    // Lays the phone face up, lets the detector see it, turns it; returns where the log was.
    uint64_t Perform(const std::vector<std::wstring>& turns) {
        Play({L"tilt", L"0"});
        WaitTicks(2);
        const uint64_t since = LogCount();
        std::vector<std::wstring> args = {L"turn"};
        args.insert(args.end(), turns.begin(), turns.end());
        Play(args);
        return since;
    }

};

TEST_P(GestureTest, OneGestureLocksTheOtherUnlocksEachConfirmedByItsPattern) {
    // The defaults: GestureLock locks everything, Vibrate on.
    Start({{L"GesturesToggleLock", GetParam().toggle}});
    uint64_t since = Perform(*GetParam().first);
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=1", "input-lock enable=0"}));
    EXPECT_EQ(WaitForVibration(since, 1), e2e::kLockPulse);
    EXPECT_GE(FirstPulseMs(since), 70u) << "the unlock pattern's short pulse";

    since = Perform(*GetParam().second);
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
    EXPECT_EQ(WaitForVibration(since, 2), e2e::kUnlockPulses);
}

INSTANTIATE_TEST_SUITE_P(
    WithAndWithoutToggle, GestureTest,
    testing::Values(GestureCase{false, &kLockTurns, &kUnlockTurns},
                    // Either gesture toggles: the unlock gesture locks an unlocked phone.
                    GestureCase{true, &kUnlockTurns, &kLockTurns}),
    [](const testing::TestParamInfo<GestureCase>& info) { return info.param.toggle ? "Toggle" : "NoToggle"; });

}  // namespace
