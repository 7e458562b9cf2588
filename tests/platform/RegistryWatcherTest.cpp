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
    void TearDown() override { test::Play({L"reset"}); }

    // A change: signals the handle, then Refresh; returns the stylus state afterwards.
    static bool ChangeAndRefresh(RegistryWatcher& watcher, const Command& command) {
        test::Play(command);
        EXPECT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait))
            << test::Narrow(command[1] + L" " + command.back());
        watcher.Refresh();
        return watcher.IsStylusIn();
    }
};

TEST_F(RegistryWatcherTest, ZeroAtStartIsInAndOneIsOut) {
    test::Play({L"stylus", L"in"});
    EXPECT_TRUE(RegistryWatcher().IsStylusIn());
    test::Play({L"stylus", L"out"});
    EXPECT_FALSE(RegistryWatcher().IsStylusIn());
}

TEST_F(RegistryWatcherTest, EverySignalIsReadAndRearmedOnceAndAMalformedValueKeepsTheFlag) {
    RegistryWatcher watcher;
    EXPECT_FALSE(test::Signalled(watcher.ChangeHandle(), 0));
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"out"}));
    EXPECT_FALSE(ChangeAndRefresh(watcher, {L"stylus", L"touch"})) << "another value: no change";
    const Command malformed[] = {
        {L"stylus", L"raw", L"sz", L"0"},
        {L"stylus", L"raw", L"dword", L"0000"},       // two bytes
        {L"stylus", L"raw", L"binary", L"00000000"},  // four bytes of another type
    };
    for (const Command& command : malformed) EXPECT_FALSE(ChangeAndRefresh(watcher, command));
    EXPECT_TRUE(ChangeAndRefresh(watcher, {L"stylus", L"in"}));

    // Not re-armed until Refresh: a second change before it goes unsignalled.
    test::Play({L"stylus", L"out"});
    ASSERT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait));
    test::Play({L"stylus", L"in"});
    EXPECT_FALSE(test::Signalled(watcher.ChangeHandle(), kQuietWait));
    watcher.Refresh();
    EXPECT_TRUE(watcher.IsStylusIn());
    EXPECT_TRUE(ChangeAndRefresh(watcher, {L"stylus", L"in"})) << "rewritten: signalled again";
}

}  // namespace
