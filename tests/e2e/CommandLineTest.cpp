// The command line, end to end: varnel.exe started as a real process, its message boxes
// answered through the device console.
#include <string>

#include <gmock/gmock.h>

#include "TestSupport.h"

namespace {

using test::Devemu;
using test::InstanceRunning;
using test::VarnelProcess;

class CommandLineTest : public testing::Test {
protected:
    void SetUp() override {
        test::StopInstances();
        test::DeleteSettingsKey();
        ASSERT_EQ(Devemu({L"reset"}).code, 0);
    }
    void TearDown() override { test::StopInstances(); }

    // Waits for the message box with that caption, checks its text, and presses `answer`.
    void Answer(const std::wstring& caption, const std::string& text, const std::wstring& answer) {
        ASSERT_TRUE(test::WaitUntil([&] { return Devemu({L"dialog", L"list"}).out.find(text) != std::string::npos; }))
            << "no message box saying \"" << text << "\"; open: " << Devemu({L"dialog", L"list"}).out;
        test::ConsoleResult r = Devemu({L"dialog", L"answer", answer, L"--caption", caption, L"--wait", L"10000"});
        ASSERT_EQ(r.code, 0) << r.err;
    }

    static constexpr char kEnableText[] =
        R"(Varnel will now be enabled.\n\nThe Varnel control panel may not be available until you soft reset your device. Do so now?)";
    static constexpr char kRunningText[] = "Varnel is currently enabled. Disable it temporarily?";
};

// Each start publishes its main thread as "ThreadId" (resident means: it names one of this
// process's threads), and the value stays after the exit.
TEST_F(CommandLineTest, UnrecognisedSwitchesAreAPlainStartThatPublishesItsThread) {
    for (const wchar_t* args : {L"/U", L"/i ", L"-u", L"", L"/install"}) {
        VarnelProcess varnel(args);
        ASSERT_TRUE(varnel.WaitResident()) << test::Narrow(args);
        EXPECT_EQ(Devemu({L"dialog", L"list"}).out, "") << "no question on a plain start";
        const DWORD id = *test::ReadSettingsDword(L"ThreadId");
        EXPECT_EQ(VarnelProcess(L"/u").WaitExit(), 0u);
        EXPECT_EQ(varnel.WaitExit(), 0u) << test::Narrow(args);
        EXPECT_EQ(test::ReadSettingsDword(L"ThreadId"), id) << "removed at exit";
    }
    // With none running, a stop asks nothing and leaves nothing.
    EXPECT_EQ(VarnelProcess(L"/u").WaitExit(), 0u);
    EXPECT_FALSE(InstanceRunning());
    EXPECT_EQ(test::FindLog("dialog"), -1);
}

// "/i" answered No starts the program, or does nothing more when one runs; answered Yes it only
// requests a restart.
TEST_F(CommandLineTest, EnableAndAPlainStartWhileOneRunsAsk) {
    VarnelProcess first(L"/i");
    Answer(L"Information", kEnableText, L"no");
    ASSERT_TRUE(first.WaitResident());
    const auto published = test::ReadSettingsDword(L"ThreadId");

    VarnelProcess enable(L"/i");
    Answer(L"Information", kEnableText, L"no");
    EXPECT_EQ(enable.WaitExit(), 0u);
    VarnelProcess declined(L"");
    Answer(L"Action required", kRunningText, L"no");
    EXPECT_EQ(declined.WaitExit(), 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(test::ReadSettingsDword(L"ThreadId"), published) << "a second start published its thread";
    EXPECT_EQ(test::FindLog("reboot"), -1);

    VarnelProcess accepted(L"");
    Answer(L"Action required", kRunningText, L"yes");
    EXPECT_EQ(accepted.WaitExit(), 0u);
    EXPECT_EQ(first.WaitExit(), 0u);

    VarnelProcess restart(L"/i");
    Answer(L"Information", kEnableText, L"yes");
    EXPECT_EQ(restart.WaitExit(), 0u);
    EXPECT_GE(test::FindLog("reboot how=2"), 0);
    EXPECT_FALSE(InstanceRunning());
    EXPECT_EQ(test::ReadSettingsDword(L"ThreadId"), published) << "the program was built on this path";
}

}  // namespace
