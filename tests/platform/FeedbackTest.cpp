// What the user is given on a lock, against the emulated LED driver, beep and shell: the Vibrator's
// and the Beeper's pattern timing from the device log's time stamps, dropped requests and
// destruction while a pattern plays; the notification icon's identifiers and the shell's refusals.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "platform/FeedbackWorkers.h"
#include "platform/NotificationIcon.h"

namespace {

using test::Events;
using Strings = std::vector<std::string>;

class FeedbackTest : public testing::Test {
protected:
    void SetUp() override { test::Play({L"reset"}); }
};

TEST_F(FeedbackTest, EachPatternPlaysWithItsTimingAndEndsWithTheMotorOff) {
    const std::string on = "vibrate on led=1", off = "vibrate off led=1", beep = "beep type=0";
    const struct {
        const char* name;
        const FeedbackPattern* pattern;
        Strings events;
        std::vector<int32_t> steps;  // ms from the request to the first event, and between events
    } cases[] = {
        {"lock vibrate", LockVibratePattern, {on, off}, {200, 75}},
        {"unlock vibrate", UnlockVibratePattern, {on, off, on, off}, {200, 35, 300, 35}},
        {"lock beep", LockBeepPattern, {beep}, {200}},
        {"unlock beep", UnlockBeepPattern, {beep, beep}, {200, 300}},
    };
    Vibrator vibrator;
    Beeper beeper;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string kind = c.events[0] == beep ? "beep" : "vibrate";
        FeedbackWorker& worker = kind == "beep" ? static_cast<FeedbackWorker&>(beeper) : vibrator;
        const uint64_t since = test::LogCount();
        const uint32_t start = devemu::Device::Get().Uptime();
        worker.Play(c.pattern);
        // The motor's last switch comes after the pattern is no longer pending.
        ASSERT_TRUE(test::WaitUntil([&] {
            return !worker.Pending() && Events(since, kind).size() >= c.events.size();
        }, 5000));
        ASSERT_EQ(Events(since, kind), c.events);
        std::vector<uint32_t> stamps = {start};  // and the events' "<uptime> <event>"
        for (const std::string& line : test::LogLines(since)) {
            if (line.find(kind) != std::string::npos) stamps.push_back(std::stoul(line));
        }
        // A step lasts at least what it asked for; the upper bound only catches a pattern that is
        // clearly off on a shared, busy machine.
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const int32_t took = static_cast<int32_t>(stamps[i + 1] - stamps[i]);
            EXPECT_GE(took, c.steps[i] - 20) << "step " << i;
            EXPECT_LE(took, c.steps[i] + 250) << "step " << i;
        }
        EXPECT_EQ(test::StateValue("vibrate"), "off");
    }
}

TEST_F(FeedbackTest, ARequestWhilePendingIsDroppedAndDestructionLetsAPatternFinish) {
    auto vibrator = std::make_unique<Vibrator>();
    auto beeper = std::make_unique<Beeper>();
    const uint64_t since = test::LogCount();
    vibrator->Play(LockVibratePattern);
    vibrator->Play(UnlockVibratePattern);
    EXPECT_EQ(vibrator->Pending(), LockVibratePattern);
    ASSERT_TRUE(test::WaitUntil([&] { return !vibrator->Pending(); }, 5000));
    EXPECT_EQ(Events(since, "vibrate on").size(), 1u) << "the dropped pattern played";

    // A third request, after the first ended, plays; destroyed in its middle, it still ends.
    vibrator->Play(UnlockVibratePattern);
    beeper->Play(UnlockBeepPattern);
    ASSERT_TRUE(test::WaitUntil([&] {
        return Events(since, "vibrate on").size() == 2 && Events(since, "beep").size() == 1;
    }, 5000));
    vibrator.reset();
    beeper.reset();
    const uint64_t after = test::LogCount();
    EXPECT_EQ(Events(since, "vibrate on").size(), 3u);
    EXPECT_EQ(test::StateValue("vibrate"), "off");
    EXPECT_EQ(Events(since, "beep").size(), 2u);
    Sleep(100);
    EXPECT_EQ(test::LogCount(), after) << "a worker acted after its destructor returned";
}

// ---- The notification icon ---------------------------------------------------------------------

TEST_F(FeedbackTest, OneNotificationPerLockANewIdentifierAfterEachRemovalAndNoneLeftBehind) {
    {
        NotificationIcon icon(AppInstance);
        icon.Show(false);
        icon.Show(true);
        icon.Show(true);
        EXPECT_EQ(Events(0, "icon "), Strings{"icon add id=1"});
        icon.Show(false);
        icon.Show(true);
        EXPECT_EQ(test::StateValue("icon"), "shown id=2");
    }
    EXPECT_EQ(Events(0, "icon "), (Strings{"icon add id=1", "icon remove id=1", "icon add id=2",
                                        "icon remove id=2"}))
        << "deleted while shown: removed first";
    EXPECT_EQ(test::StateValue("icon"), "hidden");
}

TEST_F(FeedbackTest, ARefusedAddOrRemoveChangesNothingAndTheNextCallTriesAgain) {
    NotificationIcon icon(AppInstance);
    test::Play({L"shell", L"refuse-add"});
    icon.Show(true);
    EXPECT_FALSE(icon.Shown());
    icon.Show(false);  // hidden: nothing to remove
    test::PlayAll({{L"shell", L"accept"}, {L"shell", L"refuse-remove"}});
    icon.Show(true);
    icon.Show(false);
    EXPECT_TRUE(icon.Shown());
    icon.Show(true);  // still shown: nothing to add
    test::Play({L"shell", L"accept"});
    icon.Show(false);
    EXPECT_EQ(Events(0, "icon "), (Strings{"icon add refused id=1 error=14", "icon add id=1",
                                        "icon remove refused id=1 error=170", "icon remove id=1"}));
    EXPECT_EQ(test::StateValue("icon"), "hidden");
}

}  // namespace
