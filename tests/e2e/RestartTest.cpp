// A restart is always a way out: a program ended at a bad moment, as a crash or a pulled battery
// would end it, leaves the device as it was; the next start brings it back into the state the
// program starts from before it handles anything.
#include "ControllerFixture.h"

namespace {

using e2e::Strings;
using test::Events;
using test::LogCount;
using test::StateValue;

using RestartTest = e2e::ControllerTest;

// Killed while keys and panel are locked and the icon shows: the next start frees them and takes
// the old icon away before it can be reached; its own lock then shows exactly one icon, which its
// unlock removes again.
TEST_F(RestartTest, AStartAfterACrashFreesThePhoneAndTakesTheOldIconAway) {
    Start({}, 2);
    ASSERT_EQ(StateValue("input"), "locked");
    ASSERT_EQ(StateValue("icon"), "shown id=1");
    varnel->Kill();
    ASSERT_EQ(StateValue("input"), "locked") << "nothing runs at a crash that could free the device";

    const uint64_t restarted = LogCount();
    varnel = std::make_unique<test::VarnelProcess>(L"");
    ASSERT_TRUE(varnel->WaitResident());
    EXPECT_EQ(StateValue("input"), "free");
    EXPECT_EQ(StateValue("icon"), "hidden");
    EXPECT_EQ(StateValue("panel"), "free");

    Command(2);
    EXPECT_EQ(StateValue("icon"), "shown id=1");
    Command(0);
    EXPECT_EQ(StateValue("icon"), "hidden");
    EXPECT_EQ(Events(restarted, "icon "), (Strings{"icon remove id=1", "icon remove refused id=2 error=1168",
                                                   "icon add id=1", "icon remove id=1"}));
    EXPECT_EQ(Events(restarted, "input-lock"),
              (Strings{"input-lock enable=1", "input-lock enable=0", "input-lock enable=1"}));
}

}  // namespace
