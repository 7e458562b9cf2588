// The stylus watcher against the registry of the Wine prefix, where the device console keeps the
// stylus state as the phone does.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "platform/RegistryWatcher.h"

namespace {

using Command = std::vector<std::wstring>;

// Long enough for a notification from the server to arrive on a busy machine.
constexpr DWORD kSignalWait = 10000;
// A change that must not be reported is given this long to show up all the same.
constexpr DWORD kQuietWait = 300;

class RegistryWatcherTest : public testing::Test {
protected:
    void SetUp() override { test::Play({L"reset"}); }  // "StylusOutStatus" 0
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd\\VarnelTest");
        RegDeleteKeyW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd\\VarnelTest");
        test::Play({L"reset"});
    }

    // A change: signals the handle, then Refresh; returns the stylus state afterwards.
    static bool ChangeAndRefresh(RegistryWatcher& watcher, const Command& command) {
        test::Play(command);
        EXPECT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait)) << test::Narrow(command.back());
        watcher.Refresh();
        return watcher.IsStylusIn();
    }
};

TEST_F(RegistryWatcherTest, ReadsTheStateAtStart) {
    struct Case {
        Command command;
        bool in;
    };
    const Case cases[] = {
        {{L"stylus", L"in"}, true},
        {{L"stylus", L"out"}, false},
        {{L"stylus", L"raw", L"dword", L"02000000"}, false},  // any nonzero value is out
        {{L"stylus", L"raw", L"sz", L"0"}, false},            // never read: the start value
    };
    for (const Case& c : cases) {
        test::Play(c.command);
        RegistryWatcher watcher;
        EXPECT_NE(watcher.ChangeHandle(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(watcher.IsStylusIn(), c.in) << test::Narrow(c.command.back());
    }
}

TEST_F(RegistryWatcherTest, FollowsTheStylusOutAndIn) {
    RegistryWatcher watcher;
    ASSERT_TRUE(watcher.IsStylusIn());
    EXPECT_FALSE(test::Signalled(watcher.ChangeHandle(), 0));
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"out"}));
    EXPECT_TRUE(ChangeAndRefresh(watcher, {L"stylus", L"in"}));
    EXPECT_TRUE(ChangeAndRefresh(watcher, {L"stylus", L"in"}));  // rewritten: signalled, no change
}

TEST_F(RegistryWatcherTest, OtherValuesOfTheKeyAndItsSubkeysSignalWithoutAChange) {
    RegistryWatcher watcher;
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"out"}));
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"touch"}));

    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd\\VarnelTest", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegKey subKey(sub);
    const DWORD zero = 0;
    RegSetValueExW(subKey.get(), L"StylusOutStatus", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
    EXPECT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait));
    watcher.Refresh();
    EXPECT_FALSE(watcher.IsStylusIn()) << "read the subkey's value";
}

TEST_F(RegistryWatcherTest, AMalformedValueKeepsTheFlagAndTheWatchIsStillRearmed) {
    RegistryWatcher watcher;
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"out"}));
    const std::vector<Command> malformed = {
        {L"stylus", L"raw", L"sz", L"0"},
        {L"stylus", L"raw", L"dword", L"0000"},              // two bytes
        {L"stylus", L"raw", L"qword", L"0000000000000000"},
        {L"stylus", L"raw", L"binary", L"00000000"},         // four bytes of another type
        {L"stylus", L"raw", L"dword", L""},
    };
    for (const Command& command : malformed) {
        EXPECT_FALSE(ChangeAndRefresh(watcher, command)) << test::Narrow(command[2] + L" " + command[3]);
    }
    EXPECT_TRUE(ChangeAndRefresh(watcher, {L"stylus", L"in"}));
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"out"}));
}

TEST_F(RegistryWatcherTest, WithoutRefreshTheNextChangeIsNotSignalled) {
    RegistryWatcher watcher;
    test::Play({L"stylus", L"out"});
    ASSERT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait));
    test::Play({L"stylus", L"in"});
    EXPECT_FALSE(test::Signalled(watcher.ChangeHandle(), kQuietWait));
    watcher.Refresh();
    EXPECT_TRUE(watcher.IsStylusIn());
    test::Play({L"stylus", L"out"});
    EXPECT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait));
}

TEST_F(RegistryWatcherTest, AMissingKeyLeavesNoWatchAndFailsTheControllersWait) {
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd"), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd");
    RegistryWatcher watcher;
    EXPECT_EQ(watcher.ChangeHandle(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(watcher.IsStylusIn());
    watcher.Refresh();  // harmless without a watch
    EXPECT_FALSE(watcher.IsStylusIn());
    KernelHandle other(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    const HANDLE handles[] = {other.get(), watcher.ChangeHandle()};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_FAILED);
}

}  // namespace
