// The gesture editor in this process, opened from the Application's settings window as the user
// opens it and driven through its buttons and soft keys; the phone is held through the device
// console, which also answers the reset question.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "gesture/GestureEditorWindow.h"

namespace {

using namespace settingstest;
using testing::ElementsAre;
using Steps = std::vector<int32_t>;

constexpr Place kLockPlay{116, 54}, kLockRecord{184, 54}, kLockReset{116, 116};
constexpr Place kUnlockView{8, 224}, kUnlockPlay{116, 224}, kUnlockRecord{184, 224}, kUnlockReset{116, 286};

Steps StepsOf(const Gesture& g) {
    Steps steps;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) steps.push_back(g.steps[i]);
    return steps;
}

// Saves what the screen shows of `window` into build/artifacts.
void Screenshot(HWND window, const wchar_t* name) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine puts what was painted on the screen when the thread next waits; this wait handles no
    // message, so the window's timer does not run.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    const std::wstring dir = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(dir.c_str(), nullptr);
    const auto shot = test::Devemu({L"screenshot", dir + L"\\" + name, L"--window", L"Varnel"});
    EXPECT_EQ(shot.code, 0) << shot.err;
}

int SensorReads() { return std::stoi(test::StateValue("sensor-reads")); }

class GestureEditorTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        app.enableLevel = 0;
        settings.edited.LockGesture = kDefaultLockGesture;
        settings.edited.UnlockGesture = kDefaultUnlockGesture;
        settings.Open();
        OpenEditor();
    }
    void TearDown() override {
        for (HWND w : {Editor(), settings.Window()}) {
            if (w) DestroyWindow(w);
        }
        EXPECT_EQ(app.enableLevel, 0) << "detection is back on, whatever closed the editor";
    }

    // "Edit gestures" in the open settings window.
    void OpenEditor() {
        Click(settings.Window(), kEditGestures);
        uitest::Pump();
        ASSERT_NE(Editor(), nullptr);
        ASSERT_EQ(settings.Window(), nullptr) << "the editor takes the settings window's place";
    }
    HWND Editor() const { return editor.Window(); }
    template <class Control>
    Control& At(Place place) {
        return dynamic_cast<Control&>(*WindowObject::FromWindow(ControlAt(Editor(), place)));
    }
    // Which of the lock play, lock record, unlock play and unlock record buttons can be pressed.
    std::string Enabled() {
        std::string enabled;
        for (Place p : {kLockPlay, kLockRecord, kUnlockPlay, kUnlockRecord}) {
            enabled += IsWindowEnabled(ControlAt(Editor(), p)) ? '1' : '0';
        }
        return enabled;
    }
    // Holds the phone at each angle until the editor has read it twice, so on a later tick too.
    void HoldAt(std::initializer_list<int> angles) {
        for (int angle : angles) {
            test::Play({L"tilt", std::to_wstring(angle)});
            const int reads = SensorReads();
            EXPECT_TRUE(uitest::PumpUntil([&] { return SensorReads() >= reads + 2; })) << "at " << angle;
        }
    }

    Application& app = Application::Instance();
    SettingsWindow& settings = app.settingsWindow;
    GestureEditorWindow& editor = settings.Editor();
};

TEST_F(GestureEditorTest, ShowsItsTwelveControlsInOrderAndIsSaved) {
    std::vector<std::string> shown;
    for (HWND child = GetWindow(Editor(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, Editor(), reinterpret_cast<POINT*>(&r), 2);
        wchar_t kind[32] = L"", text[32] = L"";
        GetClassNameW(child, kind, 32);
        GetWindowTextW(child, text, 32);
        char line[128];
        snprintf(line, sizeof line, "%s \"%s\" %ld,%ld %ldx%ld", test::Narrow(kind).c_str(), test::Narrow(text).c_str(),
                 r.left, r.top, r.right - r.left, r.bottom - r.top);
        if (WindowObject::FromWindow(child)) shown.push_back(line);
    }
    EXPECT_THAT(shown, ElementsAre(R"(GUI|UserClass "Lock gesture" 8,8 450x40)", R"(GUI|UserClass "" 8,54 96x96)",
                                   R"(Button "" 116,54 56x56)", R"(Button "" 184,54 56x56)",
                                   R"(Button "Reset to default" 116,116 175x32)",
                                   R"(GUI|UserClass "Unlock gesture" 8,178 450x40)", R"(GUI|UserClass "" 8,224 96x96)",
                                   R"(Button "" 116,224 56x56)", R"(Button "" 184,224 56x56)",
                                   R"(Button "Reset to default" 116,286 175x32)",
                                   R"(GUI|UserClass "Recording instructions" 8,348 450x40)",
                                   R"(Edit "To record gestures, first press" 8,394 464x130)"));
    EXPECT_EQ(At<IconButton>(kLockPlay).symbol, kPlaySymbol);
    EXPECT_EQ(At<IconButton>(kLockRecord).symbol, kRecordSymbol);
    wchar_t instructions[1024] = L"";
    GetWindowTextW(ControlAt(Editor(), {8, 394}), instructions, 1024);
    EXPECT_EQ(std::wstring(instructions),
              L"To record gestures, first press the record button. Perform the gesture and press the "
              L"record button when done.\r\nYou can review the gesture by pressing the play button.\r\n\r\n"
              L"To make performing the recorded gesture easier, the gesture will be simplified and snapped "
              L"to 45 degree intervals. If you have trouble performing a recorded gesture, make sure you "
              L"rotate the phone to at least the angle indicated by the playback function, especially when "
              L"you have defined a gesture that switches rotation direction.");
    EXPECT_EQ(editor.contentHeight, 524 + 8) << "the box's bottom and the top margin again";

    uitest::PumpFor(300);
    EXPECT_EQ(uitest::Capture(Editor())->At(300, 600), RGB(255, 255, 255)) << "painted below the content";
    Screenshot(Editor(), L"editor-rest.png");
}

TEST_F(GestureEditorTest, RecordingTurnsDetectionOffAndOkBringsItsGestureToTheSettings) {
    IconButton& record = At<IconButton>(kUnlockRecord);
    Click(Editor(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, -1);
    EXPECT_EQ(Enabled(), "0001") << "only the recording group's record button";
    const Timer* blinking = record.BlinkTimer();
    ASSERT_NE(blinking, nullptr);
    record.SetBlinking(true);
    EXPECT_EQ(record.BlinkTimer(), blinking) << "blinking already: still the one timer";
    editor.OnLockPlay(0);
    EXPECT_EQ(At<IconButton>(kLockPlay).BlinkTimer(), nullptr) << "no playback while recording";

    HoldAt({45, 90, 45});
    ASSERT_TRUE(uitest::PumpUntil([&] { return record.Lit(); }));  // the bright half of a blink
    Screenshot(Editor(), L"editor-recording.png");
    Click(Editor(), kUnlockRecord);
    EXPECT_EQ(app.enableLevel, 0);
    EXPECT_EQ(Enabled(), "1111");
    EXPECT_EQ(record.BlinkTimer(), nullptr);
    EXPECT_EQ(StepsOf(editor.unlockGesture), (Steps{90, -45})) << "up to 90, then back by 45";
    EXPECT_EQ(StepsOf(editor.lockGesture), StepsOf(kDefaultLockGesture));

    PressSoftKey(Editor(), IDM_OK);
    uitest::Pump();
    EXPECT_EQ(Editor(), nullptr);
    ASSERT_NE(settings.Window(), nullptr) << "the settings window is back";
    EXPECT_EQ(StepsOf(settings.edited.UnlockGesture), (Steps{90, -45}));
}

// Left while recording: OK takes the recording as if it had been stopped; Cancel drops it, and
// leaves the settings' gestures as they were. Reopened, the editor has new controls, and a new
// timer takes the samples.
TEST_F(GestureEditorTest, LeavingWhileRecordingRestoresDetection) {
    for (int key : {IDM_CANCEL, IDM_OK}) {
        SCOPED_TRACE(key == IDM_OK ? "OK" : "Cancel");
        if (!Editor()) OpenEditor();
        HWND record = ControlAt(Editor(), kLockRecord);
        Click(Editor(), kLockRecord);
        HoldAt({315});
        PressSoftKey(Editor(), key);
        uitest::Pump();
        EXPECT_FALSE(IsWindow(record));
        EXPECT_EQ(app.enableLevel, 0);
        EXPECT_EQ(StepsOf(settings.edited.LockGesture), key == IDM_OK ? Steps{-45} : StepsOf(kDefaultLockGesture));
        test::Play({L"tilt", L"0"});
    }
}

TEST_F(GestureEditorTest, PlaybackTurnsTheViewATickAtATimeThenRests) {
    editor.unlockGesture = Gesture{{90, 45}};
    GestureView& view = At<GestureView>(kUnlockView);
    IconButton& play = At<IconButton>(kUnlockPlay);
    Click(Editor(), kUnlockPlay);
    editor.OnUnlockRecord(0);
    EXPECT_EQ(app.enableLevel, 0) << "no recording while playing";
    // The test's own ticks; no message is handled meanwhile, so the window's timer stays out.
    for (int tick = 1; tick <= 17; ++tick) {
        ValidateRect(view.Window(), nullptr);
        editor.Tick(0);
        EXPECT_EQ(view.ViewAngle(), ViewAngleOf(tick <= 15 ? 9 * tick : 0)) << "tick " << tick;
        EXPECT_EQ(GetUpdateRect(view.Window(), nullptr, FALSE), tick <= 16) << "redrawn when turned, tick " << tick;
        EXPECT_EQ(play.BlinkTimer() != nullptr, tick <= 15) << "tick " << tick;
        if (tick == 10) Screenshot(Editor(), L"editor-playback.png");  // at 90 degrees: upright
    }
}

TEST_F(GestureEditorTest, ResetToDefaultAsksFirst) {
    const Gesture recorded{{45, -45, 45, -45, 45, -45}};
    const struct {
        Place button;
        const wchar_t* answer;
        Gesture lock, unlock;
    } cases[] = {
        // The default's four steps and its 0; what followed stays.
        {kLockReset, L"yes", {{-90, -90, -90, -45, 0, -45}}, recorded},
        {kLockReset, L"no", recorded, recorded},
        {kUnlockReset, L"yes", recorded, {{90, 90, 90, 45, 0, -45}}},
        {kUnlockReset, L"no", recorded, recorded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Narrow(c.answer) + (c.button.y == kLockReset.y ? " to lock" : " to unlock"));
        editor.lockGesture = editor.unlockGesture = recorded;
        EXPECT_THAT(AnsweringBoxes(c.answer, [&] { Click(Editor(), c.button); }),
                    ElementsAre(R"(caption="Confirm action" text="Reset gesture to default?")"));
        EXPECT_THAT(editor.lockGesture.steps, testing::ElementsAreArray(c.lock.steps));
        EXPECT_THAT(editor.unlockGesture.steps, testing::ElementsAreArray(c.unlock.steps));
    }
}

}  // namespace
