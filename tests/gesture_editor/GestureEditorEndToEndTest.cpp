// The gesture editor in the running program: a gesture recorded with the device console's turn,
// carried by both windows' OK into the registry, and then in force.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "app/AppGlobals.h"

namespace {

using namespace settingstest;
using test::Play;

// Until the program has read the sensor `count` more times.
void WaitReads(int count) {
    const int start = std::stoi(test::StateValue("sensor-reads"));
    EXPECT_TRUE(test::WaitUntil([&] { return std::stoi(test::StateValue("sensor-reads")) >= start + count; }));
}

// The program's window that took the place of `gone`.
HWND Replacing(HWND gone) {
    HWND window = nullptr;
    test::WaitUntil([&] { return !IsWindow(gone) && (window = FindWindowW(L"GUI|UserClass", L"Varnel")); });
    return window;
}

// Lays the phone face up, lets the detector see it, turns it; returns where the log was.
uint64_t Perform(std::vector<std::wstring> turns) {
    Play({L"tilt", L"0"});
    WaitReads(2);
    const uint64_t since = test::LogCount();
    turns.insert(turns.begin(), L"turn");
    Play(turns);
    return since;
}

TEST(GestureEditorEndToEnd, ARecordedUnlockGestureIsStoredInItsTextFormAndThenInForce) {
    test::StopInstances();
    test::DeleteSettingsKey();
    ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    test::VarnelProcess varnel(L"");
    HWND settings = ShowSettings(varnel);
    ASSERT_NE(settings, nullptr);
    Play({L"tap", L"--text", L"Edit gestures"});
    HWND editor = Replacing(settings);
    ASSERT_NE(editor, nullptr) << "no editor";
    const Place unlockRecord{184, 224};
    Click(editor, unlockRecord);
    // Up half a turn and back a quarter, slowly enough for the editor to see every multiple of 45,
    // and held at the turning point and the end until it has.
    Play({L"turn", L"180", L"--rate", L"90"});
    WaitReads(4);
    Play({L"turn", L"-90", L"--rate", L"90"});
    WaitReads(4);
    Click(editor, unlockRecord);
    PressSoftKey(editor, IDM_OK);
    settings = Replacing(editor);
    ASSERT_NE(settings, nullptr) << "the settings window did not come back";
    PressSoftKey(settings, IDM_OK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(settings); }));
    const auto stored = test::ReadSettingsValue(L"UnlockGesture");
    ASSERT_TRUE(stored && stored->type == REG_MULTI_SZ);
    const char16_t text[] = u"90\0" u"90\0" u"-90\0";  // and the literal's own 0 ends the list
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    EXPECT_EQ(stored->data, std::vector<uint8_t>(bytes, bytes + sizeof text));

    uint64_t since = Perform({L"-90", L"-90", L"-90", L"-45"});
    ASSERT_GE(test::WaitForLog("input-lock enable=0", since), 0) << "the lock gesture locks everything";
    since = Perform({L"90", L"90", L"90", L"45"});
    WaitReads(14);  // two seconds of detector ticks
    EXPECT_EQ(test::FindLog("input-lock", since), -1) << "the old unlock gesture does nothing";
    // 90, 90, -90 as a hand turns it, a little beyond the half turn, so that the detector's ticks
    // see the turning point passed.
    since = Perform({L"200", L"-110"});
    EXPECT_GE(test::WaitForLog("input-lock enable=1", since), 0) << "the new one unlocks";
}

}  // namespace
