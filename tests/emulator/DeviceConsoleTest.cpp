// The device console's own commands, which every other test drives the device with (the dialog
// commands against a real message box of this test), and the input lock's refusals, which no
// program test reaches.
#include <atomic>
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
    void SetUp() override { test::Play({L"reset"}); }
};

TEST_F(DeviceConsoleTest, ResetGivesAFreshPoweredPhoneOnBatteryWithOnlyItsOwnLine) {
    test::PlayAll({{L"clock", L"123456"}, {L"power", L"suspend"}, {L"ac", L"online"},
                   {L"stylus", L"out"}, {L"call", L"incoming"}, {L"tapi", L"fail-init"},
                   {L"shell", L"refuse-add"}, {L"shell", L"refuse-remove"}});
    EXPECT_EQ(StateValue("shell"), "refuse-add,remove") << "refusals add up";
    MessageBeep(0);
    test::Play({L"reset"});
    EXPECT_THAT(test::LogLines(), testing::ElementsAre(test::Matches("[0-9]+ console reset")));
    const uint32_t drift = std::stoul(StateValue("uptime")) - devemu::HostTick();
    EXPECT_LT(drift + 10000, 20000u) << "the clock offset survived the reset";
    const std::pair<const char*, const char*> fresh[] = {
        {"beeps", "0"}, {"power", "On 0x02010000"}, {"ac", "offline"}, {"stylus", "in"},
        {"call", "none"}, {"tapi", "ok"}, {"shell", "accept"}, {"input", "free"},
        {"icon", "hidden"},
    };
    for (const auto& [key, value] : fresh) EXPECT_EQ(StateValue(key), value) << key;
}

TEST_F(DeviceConsoleTest, LogLinesAreUptimeThenEventWithEachConsoleLineBeforeItsEffects) {
    test::PlayAll({{L"clock", L"5000"}, {L"ac", L"online"}});
    MessageBeep(MB_OK);
    EXPECT_THAT(Devemu({L"log"}).out, test::Matches("[0-9]+ console reset\n"
                                                    "5[0-9]{3} console clock 5000\n"
                                                    "5[0-9]{3} console ac online\n"
                                                    "5[0-9]{3} power status ac=online queues=0\n"
                                                    "5[0-9]{3} beep type=0\n"));
    EXPECT_THAT(Devemu({L"log", L"--since", L"4"}).out, test::Matches("5[0-9]{3} beep type=0\n"));
    EXPECT_EQ(Devemu({L"log", L"--since", L"99"}).out, "");
}

TEST_F(DeviceConsoleTest, WaitSeesOnlyLinesAfterItStartedOrAfterSince) {
    MessageBeep(0);
    test::ConsoleResult r = Devemu({L"wait", L"beep", L"--timeout", L"200"});
    EXPECT_EQ(r.code, 1) << "an old line counted";
    EXPECT_THAT(r.err, HasSubstr("no \"beep\" in the log within 200 ms"));
    r = Devemu({L"wait", L"beep", L"--since", L"0", L"--timeout", L"200"});
    EXPECT_EQ(r.code, 0);
    EXPECT_THAT(r.out, test::Matches("[0-9]+ beep type=0\n"));

    KernelHandle later(CreateThread(nullptr, 0, [](void*) -> DWORD {
        Sleep(100);
        MessageBeep(0);
        return 0;
    }, nullptr, 0, nullptr));
    EXPECT_EQ(Devemu({L"wait", L"beep", L"--timeout", L"10000"}).code, 0);
    WaitForSingleObject(later.get(), INFINITE);
}

// Generous limit for the box to appear or to go; the test only waits on it, never measures it.
constexpr DWORD kPatience = 20000;

DWORD WINAPI ShowBox(void* result) {
    *static_cast<std::atomic<int>*>(result) =
        MessageBoxW(nullptr, L"Line one\nLine two", L"Varnel answer test", MB_YESNO);
    return 0;
}

TEST_F(DeviceConsoleTest, DialogAnswerClicksAButtonOfTheListedBoxAndLogsIt) {
    std::atomic<int> result{0};
    DWORD threadId = 0;
    KernelHandle thread(CreateThread(nullptr, 0, ShowBox, &result, 0, &threadId));
    const std::string listed = "caption=\"Varnel answer test\" text=\"Line one\\nLine two\"\n";
    auto list = [] { return Devemu({L"dialog", L"list"}).out; };
    EXPECT_TRUE(test::WaitUntil([&] { return list() == listed; }, kPatience)) << list();
    const uint64_t since = test::LogCount();

    test::ConsoleResult r = Devemu({L"dialog", L"answer", L"ok", L"--caption",
                                    L"Varnel answer test", L"--wait", L"300"});
    EXPECT_EQ(r.code, 1) << "the box has no OK button";
    EXPECT_THAT(r.err, HasSubstr("no message box"));

    r = Devemu({L"dialog", L"answer", L"no", L"--caption", L"Varnel answer test"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "dialog caption=\"Varnel answer test\" answer=no\n");
    if (WaitForSingleObject(thread.get(), kPatience) != WAIT_OBJECT_0) {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);  // ends the box, so none is left for others
        WaitForSingleObject(thread.get(), INFINITE);
    }
    EXPECT_EQ(result, IDNO);
    EXPECT_EQ(test::Events(since), (std::vector<std::string>{
                                       "console dialog answer no --caption \"Varnel answer test\"",
                                       "dialog caption=\"Varnel answer test\" answer=no"}));
    EXPECT_EQ(list(), "") << "still listed once answered";
}

TEST_F(DeviceConsoleTest, ClockPlacesTheUptimeSeenByTheProgramAcrossTheWrapAndCanHoldIt) {
    test::PlayAll({{L"clock", L"4294967000"}, {L"clock", L"hold"}});
    const DWORD before = GetTickCount();  // imported from the device's coredll
    EXPECT_GE(before, 4294967000u);
    Sleep(50);
    EXPECT_EQ(GetTickCount(), before) << "held";
    test::Play({L"clock", L"advance", L"1000"});
    EXPECT_EQ(GetTickCount(), before + 1000) << "wraps past 2^32";
    MessageBeep(0);
    EXPECT_THAT(test::LogLines().back(), StartsWith(std::to_string(before + 1000) + " beep"));

    test::PlayAll({{L"clock", L"advance", L"-2000"}, {L"clock", L"run"}});
    EXPECT_EQ(StateValue("clock"), "running");
    const DWORD ran = GetTickCount();
    EXPECT_GT(ran, 4294960000u) << "does not run on from where it stood";
    EXPECT_TRUE(test::WaitUntil([&] { return GetTickCount() - ran >= 20; })) << "stands still";
}

TEST_F(DeviceConsoleTest, BadArgumentsGiveTheCommandsUsageLineAndExitCode2) {
    const std::vector<std::vector<std::wstring>> bad = {
        {}, {L"frobnicate"}, {L"reset", L"now"}, {L"state", L"extra"}, {L"log", L"--since"},
        {L"log", L"--since", L"ten"}, {L"wait"}, {L"wait", L"x", L"--timeout", L"-1"}, {L"clock"},
        {L"clock", L"advance"}, {L"clock", L"12abc"}, {L"clock", L"0x1FFFFFFFF"}, {L"post"},
        {L"post", L"lock"}, {L"post", L"enable", L"now"}, {L"dialog"}, {L"tap", L"5"},
        {L"dialog", L"answer", L"maybe"}, {L"screenshot"}, {L"screenshot", L"a.png", L"--window"},
        {L"shell", L"refuse"}, {L"power", L"sleep"}, {L"power", L"flags", L"0x1g"},
        {L"power", L"flags", L"1", std::wstring(260, L'n')}, {L"ac", L"plugged"}, {L"leds", L"33"},
        {L"stylus", L"sideways"}, {L"stylus", L"raw", L"dword", L"123"}, {L"call", L"ring"},
        {L"call", L"state", L"2"}, {L"call", L"incoming", L"--loud"}, {L"tapi", L"broken"},
        {L"touch", L"gone"}, {L"clock", L"hold", L"5"}, {L"shell", L"start", L"now"},
        {L"screenshot", L"a.png", L"--window", L"Varnel", L"--screen"}, {L"key"}, {L"key", L"f9x"},
        {L"key", L"0x1FF"}, {L"window", L"now"},
    };
    const std::string state = Devemu({L"state"}).out;
    const uint64_t lines = test::LogCount();
    for (const auto& args : bad) {
        const test::ConsoleResult r = Devemu(args);
        const bool known = !args.empty() && args[0] != L"frobnicate";
        const std::string command = known ? test::Narrow(args[0]) : "<command>";
        const std::string joined = args.empty() ? "" : command + " " + test::Narrow(args.back());
        EXPECT_EQ(r.code, 2) << joined;
        EXPECT_THAT(r.err, test::Matches("devemu: (.*\n)?usage: devemu " + command + "[\\s\\S]*"))
            << joined;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_EQ(test::LogCount(), lines) << "a refused command was logged";
    const std::string after = Devemu({L"state"}).out;
    EXPECT_EQ(after.substr(after.find('\n')), state.substr(state.find('\n'))) << "device changed";

    // devemu.exe itself hands its command line to the same console, on this device.
    EXPECT_EQ(test::DevemuProcess(L"frobnicate"), 2u);
    EXPECT_EQ(test::DevemuProcess(L"tilt 123"), 0u);
    EXPECT_EQ(test::StateValue("rotation"), "123");
}

TEST_F(DeviceConsoleTest, TheInputLockRefusesOtherCodesAndShortBuffers) {
    InputLockRequest request{0, 0};
    DWORD returned = 0;
    SetLastError(0);
    EXPECT_FALSE(KernelIoControl(IOCTL_INPUT_LOCK + 4, &request, 8, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_FALSE(KernelIoControl(IOCTL_INPUT_LOCK, &request, 7, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(StateValue("input"), "free") << "a refused request changed the lock";
    EXPECT_TRUE(KernelIoControl(IOCTL_INPUT_LOCK, &request, 8, nullptr, 0, &returned));
    EXPECT_EQ(StateValue("input"), "locked");
}

}  // namespace
