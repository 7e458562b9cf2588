// The device console's own commands and the device core that the program's imports reach.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/Kernel.h"
#include "ce/Shell.h"

namespace {

using test::Devemu;
using test::StateValue;
using testing::HasSubstr;
using testing::StartsWith;

class DeviceConsoleTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
};

TEST_F(DeviceConsoleTest, ResetLeavesAFreshDeviceWithOnlyItsOwnLine) {
    Devemu({L"clock", L"123456"});
    MessageBeep(0);
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    const std::vector<std::string> log = test::LogLines();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_THAT(log[0], test::Matches("[0-9]+ console reset"));
    EXPECT_EQ(StateValue("beeps"), "0");
    EXPECT_EQ(StateValue("reboots"), "0");
    const uint32_t drift = static_cast<uint32_t>(std::stoul(StateValue("uptime"))) - devemu::HostTick();
    EXPECT_LT(drift + 10000, 20000u) << "the clock offset survived the reset";
}

TEST_F(DeviceConsoleTest, ClockPlacesTheUptimeSeenByTheProgramAcrossTheWrap) {
    ASSERT_EQ(Devemu({L"clock", L"4294967000"}).code, 0);
    const DWORD before = GetTickCount();  // imported from the device's coredll
    EXPECT_GE(before, 4294967000u);
    ASSERT_EQ(Devemu({L"clock", L"advance", L"1000"}).code, 0);
    const DWORD after = GetTickCount();
    EXPECT_LT(after, 100000u) << "did not wrap past 2^32";
    EXPECT_GE(static_cast<int32_t>(after - before), 1000);
    EXPECT_EQ(test::FindLog("console clock advance 1000"), 2);

    ASSERT_EQ(Devemu({L"clock", L"advance", L"-2000"}).code, 0);
    EXPECT_GT(GetTickCount(), 4294960000u);
}

TEST_F(DeviceConsoleTest, AHeldClockStandsStillUntilItRunsOnFromThere) {
    ASSERT_EQ(Devemu({L"clock", L"hold"}).code, 0);
    EXPECT_EQ(StateValue("clock"), "held");
    const DWORD held = GetTickCount();
    Sleep(50);
    EXPECT_EQ(GetTickCount(), held);
    ASSERT_EQ(Devemu({L"clock", L"advance", L"200"}).code, 0);
    EXPECT_EQ(GetTickCount(), held + 200);
    ASSERT_EQ(Devemu({L"clock", L"4294967295"}).code, 0);
    EXPECT_EQ(GetTickCount(), 4294967295u);
    MessageBeep(0);
    EXPECT_THAT(test::LogLines().back(), StartsWith("4294967295 beep")) << "log time stamps stand still too";
    EXPECT_EQ(StateValue("uptime"), "4294967295");

    ASSERT_EQ(Devemu({L"clock", L"run"}).code, 0);
    EXPECT_EQ(StateValue("clock"), "running");
    const DWORD start = devemu::HostTick();
    const DWORD ran = GetTickCount();
    EXPECT_LT(ran + 1, 10000u) << "does not run on from where it stood (across the wrap)";
    EXPECT_TRUE(test::WaitUntil([&] { return GetTickCount() - ran >= 20; })) << "stands still";
    EXPECT_LE(GetTickCount() - ran, devemu::HostTick() - start + 1) << "runs faster than the host";
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    EXPECT_EQ(StateValue("clock"), "running");
}

TEST_F(DeviceConsoleTest, LogLinesAreUptimeThenEvent) {
    Devemu({L"clock", L"5000"});
    MessageBeep(MB_OK);
    AygExitWindowsEx(EWX_REBOOT, 0);
    const std::string log = Devemu({L"log"}).out;
    EXPECT_THAT(log, test::Matches("[0-9]+ console reset\n"
                                  "[0-9]+ console clock 5000\n"
                                  "5[0-9][0-9][0-9] beep type=0\n"
                                  "5[0-9][0-9][0-9] reboot how=2\n"));
    EXPECT_THAT(Devemu({L"log", L"--since", L"3"}).out, test::Matches("[0-9]+ reboot how=2\n"));
    EXPECT_EQ(Devemu({L"log", L"--since", L"99"}).out, "");
    EXPECT_EQ(StateValue("beeps"), "1");
    EXPECT_EQ(StateValue("reboots"), "1");
}

TEST_F(DeviceConsoleTest, WaitSeesOnlyLinesAfterItStartedOrAfterSince) {
    MessageBeep(0);
    test::ConsoleResult r = Devemu({L"wait", L"beep", L"--timeout", L"200"});
    EXPECT_EQ(r.code, 1) << "an old line counted";
    EXPECT_THAT(r.err, HasSubstr("beep"));
    r = Devemu({L"wait", L"beep", L"--since", L"0", L"--timeout", L"200"});
    EXPECT_EQ(r.code, 0);
    EXPECT_THAT(r.out, HasSubstr("beep type=0"));

    HANDLE later = CreateThread(nullptr, 0, [](void*) -> DWORD { Sleep(100); MessageBeep(0); return 0; },
                                nullptr, 0, nullptr);
    r = Devemu({L"wait", L"beep", L"--timeout", L"10000"});
    EXPECT_EQ(r.code, 0) << r.err;
    WaitForSingleObject(later, INFINITE);
    CloseHandle(later);
}

TEST_F(DeviceConsoleTest, EventModifyDrivesTheEvent) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(EventModify(event, EVENT_SET));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(EventModify(event, EVENT_RESET));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(EventModify(event, 7));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    CloseHandle(event);
}

TEST_F(DeviceConsoleTest, ShellRefusalsAccumulateUntilAccepted) {
    EXPECT_EQ(StateValue("shell"), "accept");
    ASSERT_EQ(Devemu({L"shell", L"refuse-remove"}).code, 0);
    ASSERT_EQ(Devemu({L"shell", L"refuse-menubar"}).code, 0);
    EXPECT_EQ(StateValue("shell"), "refuse-remove,menubar");
    ASSERT_EQ(Devemu({L"shell", L"accept"}).code, 0);
    EXPECT_EQ(StateValue("shell"), "accept");
    EXPECT_GE(test::FindLog("console shell refuse-menubar"), 0);
}

TEST_F(DeviceConsoleTest, ResetGivesAPoweredPhoneOnBatteryWithTheStylusInAndNoCall) {
    test::PlayAll({{L"power", L"suspend"},
                   {L"ac", L"online"},
                   {L"stylus", L"out"},
                   {L"call", L"incoming"},
                   {L"tapi", L"fail-init"}});
    EXPECT_EQ(StateValue("stylus"), "out");
    ASSERT_EQ(Devemu({L"reset"}).code, 0);
    EXPECT_EQ(StateValue("power"), "On 0x02010000");
    EXPECT_EQ(StateValue("ac"), "offline");
    EXPECT_EQ(StateValue("stylus"), "in");
    EXPECT_EQ(StateValue("call"), "none");
    EXPECT_EQ(StateValue("tapi"), "ok");
}

TEST_F(DeviceConsoleTest, StateShowsWhatTheCommandsSet) {
    struct Case {
        std::vector<std::wstring> command;
        std::string key, value;
    };
    const Case cases[] = {
        {{L"power", L"flags", L"00100000", L"Dim"}, "power", "Dim 0x00100000"},
        {{L"power", L"unattended"}, "power", "Unattended 0x00400000"},
        {{L"ac", L"backup"}, "ac", "backup"},
        {{L"ac", L"unknown"}, "ac", "unknown"},
        {{L"stylus", L"raw", L"sz", L"1"}, "stylus", "malformed"},
        {{L"stylus", L"raw", L"dword", L"00000000"}, "stylus", "in"},
        {{L"call", L"incoming", L"--data"}, "call", "offering data"},
        {{L"call", L"connect"}, "call", "connected data"},   // the same call
        {{L"call", L"disconnect"}, "call", "disconnected data"},
        {{L"call", L"connect"}, "call", "connected voice"},  // a new, outgoing call
        {{L"call", L"state", L"400", L"1"}, "call", "0x400 voice"},
        {{L"tapi", L"no-cellular"}, "tapi", "no-cellular"},
    };
    for (const Case& c : cases) {
        test::Play(c.command);
        EXPECT_EQ(StateValue(c.key), c.value) << test::Narrow(c.command.back());
    }
}

TEST_F(DeviceConsoleTest, TheConsoleLineComesBeforeItsEffects) {
    test::Play({L"ac", L"online"});
    test::Play({L"call", L"incoming"});
    EXPECT_THAT(Devemu({L"log", L"--since", L"1"}).out,
                test::Matches("[0-9]+ console ac online\n"
                              "[0-9]+ power status ac=online queues=0\n"
                              "[0-9]+ console call incoming\n"
                              "[0-9]+ line callstate call=[0-9]+ state=0x2 mode=1 apps=0\n"));
}

TEST_F(DeviceConsoleTest, DisconnectingWithoutACallFails) {
    const uint64_t lines = test::LogCount();
    test::ConsoleResult r = Devemu({L"call", L"disconnect"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "devemu: there is no call to disconnect\n");
    test::PlayAll({{L"call", L"incoming"}, {L"call", L"disconnect"}});
    r = Devemu({L"call", L"disconnect"});
    EXPECT_EQ(r.code, 1) << "disconnected twice";
    EXPECT_EQ(test::LogCount(), lines + 4);
}

TEST_F(DeviceConsoleTest, BadArgumentsGiveAUsageLineAndExitCode2) {
    const std::vector<std::vector<std::wstring>> bad = {
        {},
        {L"frobnicate"},
        {L"state", L"extra"},
        {L"log", L"--since"},
        {L"log", L"--since", L"ten"},
        {L"wait"},
        {L"wait", L"x", L"--timeout", L"-1"},
        {L"clock"},
        {L"clock", L"advance"},
        {L"clock", L"12abc"},
        {L"clock", L"0x1FFFFFFFF"},
        {L"clock", L"hold", L"5"},
        {L"post"},
        {L"post", L"lock"},
        {L"post", L"unlock"},
        {L"post", L"enable", L"now"},
        {L"shell"},
        {L"shell", L"refuse"},
        {L"power"},
        {L"power", L"sleep"},
        {L"power", L"resume", L"now"},
        {L"power", L"flags"},
        {L"power", L"flags", L"0x1g"},
        {L"power", L"flags", L"123456789"},
        {L"power", L"flags", L"1", L""},
        {L"power", L"flags", L"1", std::wstring(260, L'n')},
        {L"power", L"flags", L"1", L"a", L"b"},
        {L"power", L"status", L"now"},
        {L"ac"},
        {L"ac", L"plugged"},
        {L"ac", L"online", L"now"},
        {L"stylus"},
        {L"stylus", L"sideways"},
        {L"stylus", L"in", L"now"},
        {L"stylus", L"raw", L"sz"},
        {L"stylus", L"raw", L"dword", L"123"},
        {L"stylus", L"raw", L"dword", L"zz"},
        {L"stylus", L"raw", L"bogus", L"00"},
        {L"call"},
        {L"call", L"ring"},
        {L"call", L"incoming", L"--loud"},
        {L"call", L"connect", L"--mode"},
        {L"call", L"connect", L"--mode", L"active"},
        {L"call", L"disconnect", L"now"},
        {L"call", L"state", L"2"},
        {L"call", L"state", L"zz", L"1"},
        {L"tapi"},
        {L"tapi", L"broken"},
        {L"touch"},
        {L"touch", L"gone"},
        {L"touch", L"absent", L"now"},
        {L"leds"},
        {L"leds", L"33"},
        {L"leds", L"-1"},
        {L"leds", L"two"},
    };
    const uint64_t lines = test::LogCount();
    for (const auto& args : bad) {
        const test::ConsoleResult r = Devemu(args);
        std::string joined;
        for (const auto& a : args) joined += test::Narrow(a) + " ";
        EXPECT_EQ(r.code, 2) << joined;
        EXPECT_THAT(r.err, StartsWith("devemu: ")) << joined;
        EXPECT_THAT(r.err, HasSubstr("usage: devemu")) << joined;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_EQ(test::LogCount(), lines) << "a refused command changed the device";
}

}  // namespace
