// The editor's drawn controls on pixels, then the editor in this process, opened from the
// Application's settings window and driven through its buttons and soft keys.
#include <algorithm>
#include <string>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "gesture/GestureEditorWindow.h"

namespace {

using namespace settingstest;
using testing::ElementsAreArray;
using uitest::Bitmap;

constexpr COLORREF kMarker = RGB(0, 255, 0);  // never drawn: "left alone"
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

std::string Rgb(COLORREF c) {
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

// "left,top-right,bottom" of the pixels inside the frame of a control `size` pixels square whose
// colour is not `except`, right and bottom included; "none" when there are none.
std::string Extent(const Bitmap& b, int size, COLORREF except) {
    int left = size, top = size, right = -1, bottom = -1;
    for (int y = 2; y < size - 2; ++y) {
        for (int x = 2; x < size - 2; ++x) {
            if (b.At(x, y) == except) continue;
            left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return "none";
    return std::to_string(left) + "," + std::to_string(top) + "-" + std::to_string(right) + "," +
           std::to_string(bottom);
}

TEST(GestureViewDrawing, ThePhoneLiesFlatAtRestAndStandsUprightAtAQuarterTurn) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWhite) << "the phone's window colour";
    Bitmap flat(96, 96, kMarker), upright(96, 96, kMarker);
    DrawGestureView(flat.dc(), 0.0f, 96, 96);
    DrawGestureView(upright.dc(), -1.5707964f, 96, 96);
    EXPECT_EQ(flat.Count(kMarker), 0) << "the whole view is painted";
    for (POINT corner : {POINT{9, 48}, {16, 55}, {79, 55}, {86, 48}, {86, 40}, {9, 40}}) {
        EXPECT_EQ(flat.At(corner.x, corner.y), kBlack) << corner.x << ", " << corner.y;
    }
    EXPECT_EQ(Extent(flat, 96, kWhite), "9,40-86,55");
    EXPECT_EQ(Extent(upright, 96, kWhite), "40,9-55,86");
    EXPECT_EQ(Rgb(upright.At(47, 48)), "204,204,204") << "filled";
}

TEST(IconButtonDrawing, SymbolAndColoursFollowTheState) {
    // The colours of the border, the inside and the middle, then the extent of the symbol.
    const auto drawn = [](int symbol, bool lit, UINT state) {
        Bitmap b(56, 56, kMarker);
        DrawIconButton(b.dc(), symbol, lit, state, 56, 56);
        const COLORREF inside = b.At(2, 2);
        return Rgb(b.At(1, 54)) + " " + Rgb(inside) + " " + Rgb(b.At(28, 28)) + " " + Extent(b, 56, inside);
    };
    // Ellipse leaves out the right and bottom edges of its box; Polygon draws its corners.
    EXPECT_EQ(drawn(kRecordSymbol, true, 0), "0,0,0 255,255,255 204,0,0 11,11-43,43");
    EXPECT_EQ(drawn(kRecordSymbol, true, ODS_SELECTED), "0,0,0 204,204,204 204,0,0 11,11-43,43");
    EXPECT_EQ(drawn(kRecordSymbol, true, ODS_DISABLED), "68,68,68 195,195,195 170,68,68 11,11-43,43");
    EXPECT_EQ(drawn(kPlaySymbol, true, ODS_GRAYED), "68,68,68 195,195,195 102,102,102 11,11-44,44");
    EXPECT_EQ(drawn(kRecordSymbol, false, 0), "0,0,0 255,255,255 255,255,255 none") << "dark: no symbol";
    EXPECT_EQ(drawn(2, true, 0), "0,0,0 255,255,255 255,255,255 none") << "no such symbol";
    Bitmap play(56, 56, kMarker);
    DrawIconButton(play.dc(), kPlaySymbol, true, 0, 56, 56);
    for (POINT corner : {POINT{11, 11}, {44, 28}, {11, 44}}) EXPECT_EQ(play.At(corner.x, corner.y), kBlack);
}

// Saves what the screen shows of `window` into build/artifacts.
void Screenshot(HWND window, const wchar_t* name) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine puts what was painted on the screen when the thread next waits; this wait handles no
    // message, so the window's timer does not run.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    const std::wstring dir = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(dir.c_str(), nullptr);
    test::Play({L"screenshot", dir + L"\\" + name, L"--window", L"Varnel"});
}

int SensorReads() { return std::stoi(test::StateValue("sensor-reads")); }

TEST(GestureEditor, RecordsPlaysAndResetsAndItsSoftKeysDecideWhatTheSettingsGet) {
    constexpr Place kLockPlay{116, 54}, kLockRecord{184, 54}, kLockReset{116, 116};
    constexpr Place kUnlockView{8, 224}, kUnlockPlay{116, 224}, kUnlockRecord{184, 224}, kUnlockReset{116, 286};
    ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    Application& app = Application::Instance();
    SettingsWindow& settings = app.settingsWindow;
    GestureEditorWindow& editor = settings.Editor();
    settings.edited.LockGesture = kDefaultLockGesture;
    settings.edited.UnlockGesture = kDefaultUnlockGesture;
    settings.Open();
    const auto open = [&] {
        Click(settings.Window(), kEditGestures);
        uitest::Pump();
        ASSERT_NE(editor.Window(), nullptr);
    };
    const auto at = [&](Place place) { return WindowObject::FromWindow(ControlAt(editor.Window(), place)); };
    open();
    Screenshot(editor.Window(), L"editor-rest.png");

    // Recording: detection is off, the other record button and both play buttons are disabled.
    IconButton& record = dynamic_cast<IconButton&>(*at(kUnlockRecord));
    Click(editor.Window(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, -1);
    for (Place p : {kLockPlay, kLockRecord, kUnlockPlay}) EXPECT_FALSE(IsWindowEnabled(ControlAt(editor.Window(), p)));
    const Timer* blinking = record.BlinkTimer();
    record.SetBlinking(true);
    EXPECT_EQ(record.BlinkTimer(), blinking) << "blinking already: still the one timer";
    editor.OnLockPlay(0);
    EXPECT_EQ(dynamic_cast<IconButton&>(*at(kLockPlay)).BlinkTimer(), nullptr) << "no playback while recording";
    ASSERT_TRUE(uitest::PumpUntil([&] { return record.Lit(); }));  // the bright half of a blink
    Screenshot(editor.Window(), L"editor-recording.png");
    Click(editor.Window(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, 0);
    EXPECT_TRUE(IsWindowEnabled(ControlAt(editor.Window(), kLockPlay)));
    EXPECT_EQ(record.BlinkTimer(), nullptr);
    EXPECT_THAT(editor.unlockGesture.steps, testing::Each(0)) << "not turned: no steps";

    // Playback, on the test's own ticks: no message is handled meanwhile, so the window's timer
    // stays out.
    editor.unlockGesture = Gesture{{90, 45}};
    auto& view = dynamic_cast<GestureView&>(*at(kUnlockView));
    IconButton& play = dynamic_cast<IconButton&>(*at(kUnlockPlay));
    Click(editor.Window(), kUnlockPlay);
    editor.OnUnlockRecord(0);
    EXPECT_EQ(app.enableLevel, 0) << "no recording while playing";
    for (int tick = 1; tick <= 17; ++tick) {
        ValidateRect(view.Window(), nullptr);
        editor.Tick(0);
        EXPECT_EQ(view.ViewAngle(), ViewAngleOf(tick <= 15 ? 9 * tick : 0)) << "tick " << tick;
        EXPECT_EQ(GetUpdateRect(view.Window(), nullptr, FALSE), tick <= 16) << "redrawn when turned, tick " << tick;
        EXPECT_EQ(play.BlinkTimer() != nullptr, tick <= 15) << "tick " << tick;
        if (tick == 10) Screenshot(editor.Window(), L"editor-playback.png");  // at 90 degrees: upright
    }

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

    // Cancel leaves the settings' gestures as they were. Reopened, the editor has new controls and
    // a new timer; OK takes a recording still running as if it had been stopped.
    HWND oldRecord = ControlAt(editor.Window(), kLockRecord);
    PressSoftKey(editor.Window(), IDM_CANCEL);
    uitest::Pump();
    EXPECT_THAT(settings.edited.UnlockGesture.steps, ElementsAreArray(kDefaultUnlockGesture.steps));
    open();
    EXPECT_FALSE(IsWindow(oldRecord));
    Click(editor.Window(), kLockRecord);
    const int reads = SensorReads();
    EXPECT_TRUE(uitest::PumpUntil([&] { return SensorReads() >= reads + 2; })) << "the new timer samples";
    PressSoftKey(editor.Window(), IDM_OK);
    uitest::Pump();
    EXPECT_EQ(app.enableLevel, 0) << "detection is back on";
    EXPECT_THAT(settings.edited.LockGesture.steps, testing::Each(0)) << "the recording, not the default";
    DestroyWindow(settings.Window());
}

}  // namespace
