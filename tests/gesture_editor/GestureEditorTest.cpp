// The gesture editor in varnel.exe driven from outside, then in this process (CMake runs them apart): a
// recording carried into the registry and in force; the buttons, playback, reset and drawing on the screen.
#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "gesture/GestureEditorWindow.h"

namespace {

using namespace settingstest;
using test::Play;
using testing::ElementsAreArray;

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
uint64_t Perform(const std::vector<std::wstring>& turn) {
    Play({L"tilt", L"0"});
    WaitReads(2);
    const uint64_t since = test::LogCount();
    Play(turn);
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
    // Cancel drops the lock gesture recorded and the recording still running, and turns detection
    // back on: the default lock gesture locks below. Reopened, the editor has new controls and timer.
    const Place lockRecord{184, 54}, unlockRecord{184, 224};
    Click(editor, lockRecord);
    Play({L"turn", L"90"});
    WaitReads(4);
    Click(editor, lockRecord);
    Click(editor, lockRecord);
    PressSoftKey(editor, IDM_CANCEL);
    Play({L"tilt", L"0"});
    settings = Replacing(editor);
    Click(settings, kEditGestures);
    editor = Replacing(settings);
    Click(editor, unlockRecord);
    // Up half a turn and back a quarter, slowly enough for the editor to see every multiple of 45,
    // and held at the turning point and the end until it has.
    for (const wchar_t* turn : {L"180", L"-90"}) {
        Play({L"turn", turn, L"--rate", L"90"});
        WaitReads(4);
    }
    Click(editor, unlockRecord);
    PressSoftKey(editor, IDM_OK);
    settings = Replacing(editor);
    PressSoftKey(settings, IDM_OK);
    const auto stored = test::ReadSettingsValue(L"UnlockGesture");
    ASSERT_TRUE(stored && stored->type == REG_MULTI_SZ);
    const std::u16string text(reinterpret_cast<const char16_t*>(stored->data.data()), stored->data.size() / 2);
    EXPECT_EQ(text, std::u16string(u"90\0" u"90\0" u"-90\0", 11)) << "with the list's own 0 after the last";

    uint64_t since = Perform({L"turn", L"-90", L"-90", L"-90", L"-45"});
    ASSERT_GE(test::WaitForLog("input-lock enable=0", since), 0) << "the lock gesture locks everything";
    since = Perform({L"turn", L"90", L"90", L"90", L"45"});
    WaitReads(14);  // two seconds of detector ticks
    EXPECT_EQ(test::FindLog("input-lock", since), -1) << "the old unlock gesture does nothing";
    // 90, 90, -90 as a hand turns it: a little beyond, so that the detector's ticks see the turning point.
    since = Perform({L"turn", L"200", L"-110"});
    EXPECT_GE(test::WaitForLog("input-lock enable=1", since), 0) << "the new one unlocks";
}

// "left,top-right,bottom" (all included) of what is not `except` inside the frame of a square control.
std::string Extent(const uitest::Bitmap& b, Place place, int size, COLORREF except) {
    int left = size, top = size, right = -1, bottom = -1;
    for (int y = 2; y < size - 2; ++y) {
        for (int x = 2; x < size - 2; ++x) {
            if (b.At(place.x + x, place.y + y) == except) continue;
            left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return "none";
    return std::to_string(left) + "," + std::to_string(top) + "-" + std::to_string(right) + "," +
           std::to_string(bottom);
}

// What the screen shows of `window`, saved into build/artifacts as well when `name` is given.
std::unique_ptr<uitest::Bitmap> Shown(HWND window, const wchar_t* name = nullptr) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine shows what was painted when the thread next waits; this wait handles no message, not the timer's.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    if (name) {
        CreateDirectoryW((test::BinDir() + L"\\..\\artifacts").c_str(), nullptr);
        test::Play({L"screenshot", test::BinDir() + L"\\..\\artifacts\\" + name, L"--window", L"Varnel"});
    }
    return uitest::Capture(window);
}

TEST(GestureEditor, RecordsPlaysResetsAndDrawsItsControls) {
    constexpr Place kLockView{8, 54}, kLockPlay{116, 54}, kLockRecord{184, 54}, kLockReset{116, 116};
    constexpr Place kUnlockView{8, 224}, kUnlockPlay{116, 224}, kUnlockRecord{184, 224}, kUnlockReset{116, 286};
    const COLORREF kBlack = RGB(0, 0, 0), kWhite = GetSysColor(COLOR_WINDOW);
    Application& app = Application::Instance();
    SettingsWindow& settings = app.settingsWindow;
    GestureEditorWindow& editor = settings.Editor();
    settings.Open();
    Click(settings.Window(), kEditGestures);
    uitest::Pump();
    ASSERT_NE(editor.Window(), nullptr);
    // The program has no run-time type information: the layout says what each place holds, and the
    // drawings checked below show it.
    const auto at = [&](Place place) { return WindowObject::FromWindow(ControlAt(editor.Window(), place)); };

    // Opened, the first control has the focus, framed inside its border; with the focus taken
    // away, at rest the phone lies flat; the circle's box and the triangle's corners.
    EXPECT_EQ(GetFocus(), ControlAt(editor.Window(), kLockPlay));
    EXPECT_EQ(Extent(*Shown(editor.Window()), kLockPlay, 56, kWhite), "3,3-52,52");
    SetFocus(editor.Window());
    auto shot = Shown(editor.Window(), L"editor-rest.png");
    const auto pixel = [&](Place control, int x, int y) { return shot->At(control.x + x, control.y + y); };
    for (POINT p : {POINT{9, 48}, {16, 55}, {79, 55}, {86, 48}, {86, 40}, {9, 40}}) {
        EXPECT_EQ(pixel(kLockView, p.x, p.y), kBlack) << p.x << "," << p.y;
    }
    EXPECT_EQ(Extent(*shot, kLockView, 96, kWhite), "9,40-86,55");
    EXPECT_EQ(Extent(*shot, kLockRecord, 56, kWhite), "11,11-43,43") << "Ellipse leaves out the right and bottom";
    for (POINT p : {POINT{11, 11}, {44, 28}, {11, 44}}) EXPECT_EQ(pixel(kLockPlay, p.x, p.y), kBlack);
    EXPECT_EQ(Extent(*shot, kLockPlay, 56, kWhite), "11,11-44,44");

    // Recording: detection is off, the other record button and both play buttons are disabled.
    IconButton& record = static_cast<IconButton&>(*at(kUnlockRecord));
    Click(editor.Window(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, -1);
    for (Place p : {kLockPlay, kLockRecord, kUnlockPlay}) EXPECT_FALSE(IsWindowEnabled(ControlAt(editor.Window(), p)));
    const Timer* blinking = record.BlinkTimer();
    record.SetBlinking(true);
    EXPECT_EQ(record.BlinkTimer(), blinking) << "blinking already: still the one timer";
    editor.OnLockPlay(0);
    EXPECT_EQ(static_cast<IconButton&>(*at(kLockPlay)).BlinkTimer(), nullptr) << "no playback while recording";
    ASSERT_TRUE(uitest::PumpUntil([&] { return record.Lit(); }));  // the bright half of a blink
    shot = Shown(editor.Window(), L"editor-recording.png");
    EXPECT_THAT((std::vector{pixel(kLockRecord, 1, 54), pixel(kLockRecord, 2, 2), pixel(kLockRecord, 28, 28)}),
                testing::ElementsAre(RGB(68, 68, 68), RGB(195, 195, 195), RGB(170, 68, 68))) << "disabled";
    ASSERT_TRUE(uitest::PumpUntil([&] { return !record.Lit(); }));
    EXPECT_EQ(Extent(*Shown(editor.Window()), kUnlockRecord, 56, kWhite), "3,3-52,52") << "the focus frame alone";
    Click(editor.Window(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, 0);
    EXPECT_TRUE(IsWindowEnabled(ControlAt(editor.Window(), kLockPlay)));
    EXPECT_EQ(record.BlinkTimer(), nullptr);

    // Playback, on the test's own ticks: no message is handled, so the window's timer stays out.
    editor.unlockGesture = Gesture{{90, 45}};
    auto& view = static_cast<GestureView&>(*at(kUnlockView));
    IconButton& play = static_cast<IconButton&>(*at(kUnlockPlay));
    Click(editor.Window(), kUnlockPlay);
    editor.OnUnlockRecord(0);
    EXPECT_EQ(app.enableLevel, 0) << "no recording while playing";
    for (int tick = 1; tick <= 17; ++tick) {
        ValidateRect(view.Window(), nullptr);
        editor.Tick(0);
        EXPECT_EQ(view.ViewAngle(), ViewAngleOf(tick <= 15 ? 9 * tick : 0)) << "tick " << tick;
        EXPECT_EQ(GetUpdateRect(view.Window(), nullptr, FALSE), tick <= 16) << "redrawn when turned, tick " << tick;
        EXPECT_EQ(play.BlinkTimer() != nullptr, tick <= 15) << "tick " << tick;
        if (tick == 10) shot = Shown(editor.Window(), L"editor-playback.png");  // at 90 degrees
    }
    EXPECT_EQ(Extent(*shot, kUnlockView, 96, kWhite), "40,9-55,86") << "upright";

    // Reset asks first; Yes puts back the default's four steps and its 0, and what followed stays.
    const Gesture recorded{{45, -45, 45, -45, 45, -45}};
    editor.lockGesture = editor.unlockGesture = recorded;
    for (Place button : {kLockReset, kUnlockReset}) {
        EXPECT_THAT(AnsweringBoxes(L"no", [&] { Click(editor.Window(), button); }),
                    testing::ElementsAre(R"(caption="Confirm action" text="Reset gesture to default?")"));
    }
    EXPECT_THAT(editor.lockGesture.steps, ElementsAreArray(recorded.steps));
    EXPECT_THAT(editor.unlockGesture.steps, ElementsAreArray(recorded.steps));
    AnsweringBoxes(L"yes", [&] { Click(editor.Window(), kLockReset); });
    EXPECT_THAT(editor.lockGesture.steps, ElementsAreArray(Gesture{{-90, -90, -90, -45, 0, -45}}.steps));
    EXPECT_THAT(editor.unlockGesture.steps, ElementsAreArray(recorded.steps));
    AnsweringBoxes(L"yes", [&] { Click(editor.Window(), kUnlockReset); });
    EXPECT_THAT(editor.unlockGesture.steps, ElementsAreArray(Gesture{{90, 90, 90, 45, 0, -45}}.steps));

    record.symbol = 2;
    InvalidateRect(record.Window(), nullptr, FALSE);
    EXPECT_EQ(Extent(*Shown(editor.Window()), kUnlockRecord, 56, kWhite), "none") << "no such symbol";
    DestroyWindow(editor.Window());
}

}  // namespace
