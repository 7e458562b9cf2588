// The options are in force as soon as OK stores them: the running program's next wake-up
// follows the new choice without a restart.
#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "TestSupport.h"
#include "app/AppGlobals.h"

namespace {

using namespace settingstest;

TEST(SettingsInForce, WakeLocksEverythingRightAfterOk) {
    test::StopInstances();
    test::DeleteSettingsKey();
    ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    test::VarnelProcess varnel(L"");
    HWND window = ShowSettings(varnel);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(Shown(window).at("ResumeBehaviour"), "Lock panel");

    Choose(window, kResumeBehaviour, L"Lock everything");
    PressSoftKey(window, IDM_OK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(window); }));
    EXPECT_EQ(test::ReadSettingsDword(L"ResumeBehaviour"), 1u);

    const uint64_t since = test::LogCount();
    // The device starts awake: it must sleep before a resume is a wake-up.
    ASSERT_EQ(test::Devemu({L"power", L"suspend"}).code, 0);
    const test::ConsoleResult resume = test::Devemu({L"power", L"resume"});
    ASSERT_EQ(resume.code, 0) << resume.err;
    EXPECT_GE(test::WaitForLog("input-lock enable=0", since), 0) << "keys and panel locked";
    EXPECT_EQ(test::FindLog("input-lock enable=1", since), -1) << "not the panel alone";
}

}  // namespace
