// What the user is given on a lock, against the emulated LED driver, beep and shell: the patterns'
// timing from the device log's time stamps, dropped requests, destruction while a pattern plays;
// the notification icon's identifiers and the shell's refusals.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "ce/Shell.h"
#include "platform/FeedbackWorkers.h"
#include "platform/NotificationIcon.h"

namespace {

using test::Events;
using Strings = std::vector<std::string>;

// Each worker plays its patterns one after the other; a request while one is pending is dropped.
TEST(FeedbackTest, EachPatternPlaysWithItsTimingAndARequestWhilePendingIsDropped) {
    test::Play({L"reset"});
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
    auto vibrator = std::make_unique<Vibrator>();
    Beeper beeper;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FeedbackWorker& worker = c.events[0] == beep ? static_cast<FeedbackWorker&>(beeper) : *vibrator;
        const uint64_t since = test::LogCount();
        std::vector<uint32_t> stamps = {GetTickCount()};  // the device's uptime, as in the log
        worker.Play(c.pattern);
        worker.Play(LockBeepPattern);  // one is pending: dropped
        // The motor's last switch comes after the pattern is no longer pending.
        ASSERT_TRUE(test::WaitUntil([&] {
            return !worker.Pending() && test::LogCount() >= since + c.events.size();
        }));
        ASSERT_EQ(Events(since), c.events);
        for (const std::string& line : test::LogLines(since)) stamps.push_back(std::stoul(line));
        // A step lasts at least what it asked for; the upper bound only catches a pattern that is
        // clearly off on a shared, busy machine.
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const int32_t took = static_cast<int32_t>(stamps[i + 1] - stamps[i]);
            EXPECT_GE(took, c.steps[i] - 20) << "step " << i;
            EXPECT_LE(took, c.steps[i] + 250) << "step " << i;
        }
    }

    // Destroyed in the middle of a pattern, the Vibrator plays it to its end, and then nothing.
    const uint64_t since = test::LogCount();
    vibrator->Play(UnlockVibratePattern);
    ASSERT_TRUE(test::WaitUntil([&] { return test::LogCount() > since; }));
    vibrator.reset();
    const uint64_t after = test::LogCount();
    EXPECT_EQ(Events(since), (Strings{on, off, on, off}));
    Sleep(100);
    EXPECT_EQ(test::LogCount(), after) << "the worker acted after its destructor returned";
}

TEST(FeedbackTest, TheIconIsAddedOncePerLockUnderTheOtherIdentifierAndRefusalsAreTriedAgain) {
    test::Play({L"reset"});
    // What an instance that ended without its destructor left: a notification of the class.
    const auto leftover = [](DWORD id) {
        SHNOTIFICATIONDATA data{};
        data.cbStruct = sizeof data;
        data.dwID = id;
        data.clsid = NotificationIcon::kClassId;
        return SHNotificationAdd(&data);
    };
    ASSERT_EQ(leftover(2), ERROR_SUCCESS);
    {
        NotificationIcon icon(AppInstance);
        EXPECT_EQ(test::StateValue("icon"), "hidden") << "the leftover is still shown";
        icon.Show(false);  // hidden: nothing to remove
        icon.Show(true);
        icon.Show(true);
        icon.Show(false);
        test::Play({L"shell", L"refuse-add"});
        icon.Show(true);
        EXPECT_FALSE(icon.Shown());
        test::PlayAll({{L"shell", L"accept"}, {L"shell", L"refuse-remove"}});
        icon.Show(true);
        icon.Show(false);
        EXPECT_TRUE(icon.Shown());
        test::Play({L"shell", L"accept"});
        icon.Show(false);
        ASSERT_EQ(leftover(1), ERROR_SUCCESS);  // under the identifier the next add takes
        icon.Show(true);
        EXPECT_EQ(test::StateValue("icon"), "shown id=1");
    }
    EXPECT_EQ(Events(0, "icon "),
              (Strings{"icon add id=2", "icon remove refused id=1 error=1168", "icon remove id=2",  // the start
                       "icon add id=1", "icon remove id=1", "icon add refused id=2 error=14", "icon add id=2",
                       "icon remove refused id=2 error=170", "icon remove id=2", "icon add id=1",
                       "icon add refused id=1 error=183", "icon remove id=1", "icon add id=1", "icon remove id=1"}))
        << "deleted while shown: removed first";
    EXPECT_EQ(test::StateValue("icon"), "hidden");
}

}  // namespace
