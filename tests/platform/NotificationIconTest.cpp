// The notification icon against the emulated shell: one notification per lock, a new
// identifier after each removal, and the shell's refusals.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"
#include "platform/NotificationIcon.h"

namespace {

using test::Devemu;

// The icon's events from `since` on.
std::vector<std::string> IconEvents(uint64_t since) { return test::Events(since, "icon "); }

std::string IconState() { return test::StateValue("icon"); }

using Events = std::vector<std::string>;

class NotificationIconTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
    NotificationIcon icon{AppInstance};
};

TEST_F(NotificationIconTest, ShowingTwiceAddsOneAndHidingAHiddenIconCallsNothing) {
    icon.Show(false);
    EXPECT_EQ(IconEvents(0), Events{});
    icon.Show(true);
    icon.Show(true);
    EXPECT_EQ(IconEvents(0), Events{"icon add id=1"});
    EXPECT_EQ(IconState(), "shown id=1");
    EXPECT_TRUE(icon.Shown());
}

TEST_F(NotificationIconTest, EachAddAfterARemoveTakesTheNextIdentifier) {
    icon.Show(true);
    icon.Show(false);
    EXPECT_EQ(IconState(), "hidden");
    icon.Show(true);
    EXPECT_EQ(IconEvents(0), (Events{"icon add id=1", "icon remove id=1", "icon add id=2"}));
    EXPECT_EQ(IconState(), "shown id=2");
}

TEST_F(NotificationIconTest, TheRecordIsAnIconOnlyNotificationThatStaysUntilRemoved) {
    icon.Show(true);
    const devemu::Notification n =
        devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.notifications[0]; });
    ASSERT_TRUE(n.used);
    EXPECT_EQ(n.id, 1u);
    EXPECT_TRUE(IsEqualGUID(n.clsid, NotificationIcon::kClassId));
    EXPECT_EQ(n.priority, 0x1B2u);
    EXPECT_EQ(n.duration, 0x7FFFFFFFu);
    EXPECT_EQ(n.flags, 0x28u);
    const HICON loaded = LoadIconW(AppInstance, MAKEINTRESOURCEW(IDI_NOTIFICATION_ICON));
    ASSERT_NE(loaded, nullptr) << "icon 129 is missing from the resources";
    EXPECT_EQ(n.icon, reinterpret_cast<uint64_t>(loaded));
}

TEST(NotificationIconLifetime, DeletingAShownIconRemovesItFirst) {
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    auto icon = std::make_unique<NotificationIcon>(AppInstance);
    icon->Show(true);
    icon.reset();
    EXPECT_EQ(IconEvents(0), (Events{"icon add id=1", "icon remove id=1"}));
    EXPECT_EQ(IconState(), "hidden");
}

TEST_F(NotificationIconTest, ARefusedAddLeavesItHiddenAndTheNextShowTriesAgainWithTheSameId) {
    ASSERT_EQ(Devemu({L"shell", L"refuse-add"}).code, 0);
    const uint64_t since = test::LogCount();
    icon.Show(true);
    EXPECT_FALSE(icon.Shown());
    icon.Show(false);  // hidden: nothing to remove
    ASSERT_EQ(Devemu({L"shell", L"accept"}).code, 0);
    icon.Show(true);
    EXPECT_EQ(IconEvents(since), (Events{"icon add refused id=1 error=14", "icon add id=1"}));
    EXPECT_EQ(IconState(), "shown id=1");
}

TEST_F(NotificationIconTest, ARefusedRemoveLeavesItShownAndTheNextHideTriesTheSameId) {
    icon.Show(true);
    ASSERT_EQ(Devemu({L"shell", L"refuse-remove"}).code, 0);
    icon.Show(false);
    EXPECT_TRUE(icon.Shown());
    EXPECT_EQ(icon.NotificationId(), 1u);
    icon.Show(true);  // still shown: nothing to add
    ASSERT_EQ(Devemu({L"shell", L"accept"}).code, 0);
    icon.Show(false);
    icon.Show(true);
    EXPECT_EQ(IconEvents(0), (Events{"icon add id=1", "icon remove refused id=1 error=170",
                                     "icon remove id=1", "icon add id=2"}));
}

}  // namespace
