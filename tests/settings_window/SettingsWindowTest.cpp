// The settings window in this process, built from the registry as at start, driven through its
// real controls and soft keys, its message boxes answered through the device console.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "gesture/GestureEditorWindow.h"
#include "settings/SettingsWindow.h"

namespace {

using namespace settingstest;
using testing::ElementsAre;
using testing::IsEmpty;

using Values = std::map<std::string, DWORD>;
using Texts = std::map<std::string, std::string>;

const Values kDefaultValues = {
    {"ResumeBehaviour", 2}, {"ResumeCallBehaviour", 2}, {"UnlockOnAC", 1}, {"RelockOnBattery", 0},
    {"GesturesToggleLock", 0}, {"GestureLock", 1}, {"DisableGesturesOnAC", 1},
    {"DisableGesturesWhenUpright", 1}, {"Vibrate", 1}, {"Beep", 0}, {"VibrateIfDifferent", 0},
    {"UnlockOnStylus", 1}, {"RelockOnStylus", 0}, {"TranscriberCompatibility", 0},
    {"UnlockWhenCallEnds", 1}, {"UnlockWhenCallConnected", 1}, {"ShowIcon", 1},
};

const Texts kDefaultShown = {
    {"GesturesToggleLock", "off"}, {"GestureLock", "on"}, {"GestureLockKind", "everything"},
    {"DisableGesturesOnAC", "on"}, {"DisableGesturesWhenUpright", "on"},
    {"ResumeBehaviour", "Lock panel"}, {"ResumeCallBehaviour", "Lock panel"},
    {"UnlockWhenCallConnected", "on"}, {"UnlockWhenCallEnds", "on"}, {"UnlockOnAC", "on"},
    {"RelockOnBattery", "off"}, {"UnlockOnStylus", "on"}, {"RelockOnStylus", "off"},
    {"Vibrate", "on"}, {"Beep", "off"}, {"VibrateIfDifferent", "off"}, {"ShowIcon", "on"},
    {"TranscriberCompatibility", "off"},
};

template <class Map>
Map With(Map base, const Map& changes) {
    for (const auto& [key, value] : changes) base[key] = value;
    return base;
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The option values the registry holds now.
Values Stored() {
    Values stored;
    for (const auto& [name, fallback] : kDefaultValues) {
        if (auto value = test::ReadSettingsDword(Wide(name).c_str())) stored[name] = *value;
    }
    return stored;
}

// A tap on the control at `place`, or the choice of `item` there.
struct Action {
    Place place;
    const wchar_t* item = nullptr;
};

class SettingsWindowTest : public testing::Test {
protected:
    void SetUp() override {
        test::DeleteSettingsKey();
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    }
    void TearDown() override {
        Discard();
        test::DeleteSettingsKey();
    }

    // The object as the program makes it at start, from what the registry holds; window open.
    void Start(const Values& preset = {}) {
        Discard();
        for (const auto& [name, value] : preset) test::WriteSettingsDword(Wide(name).c_str(), value);
        settings = std::make_unique<SettingsWindow>();
        settings->Open();
        uitest::Pump();
    }
    void Discard() {
        if (!settings) return;
        for (HWND w : {settings->Editor().Window(), settings->Window()}) {
            if (w) DestroyWindow(w);
        }
        settings.reset();
    }
    HWND Window() const { return settings->Window(); }

    // The user's actions; returns the message boxes they brought up, answered with `answer`.
    std::vector<std::string> Act(const std::vector<Action>& actions, const wchar_t* answer = L"ok") {
        return AnsweringBoxes(answer, [&] {
            for (const Action& a : actions) {
                if (a.item) Choose(Window(), a.place, a.item);
                else Click(Window(), a.place);
            }
        });
    }
    std::vector<std::string> PressOk(const wchar_t* answer = L"ok") {
        auto boxes = AnsweringBoxes(answer, [&] { PressSoftKey(Window(), IDM_OK); });
        uitest::Pump();  // the window closes on the message it posted itself
        return boxes;
    }

    std::unique_ptr<SettingsWindow> settings;
};

struct RoundTrip {
    const char* what;
    Values preset;
    std::vector<Action> actions;
    Values stored;   // what differs from the defaults
    Texts reopened;  // what a new start shows differently from the defaults
};

TEST_F(SettingsWindowTest, EveryOptionIsStoredOnOkAndShownAtTheNextStart) {
    const RoundTrip cases[] = {
        {"toggle", {}, {{kGesturesToggleLock}}, {{"GesturesToggleLock", 1}}, {{"GesturesToggleLock", "on"}}},
        {"gesture locks the panel", {}, {{kGestureLockKind, L"touch panel"}}, {{"GestureLock", 2}},
         {{"GestureLockKind", "touch panel"}}},
        {"gesture lock off", {}, {{kGestureLockKind, L"touch panel"}, {kGestureLock}}, {{"GestureLock", 0}},
         {{"GestureLock", "off"}, {"GestureLockKind", "everything (disabled)"}}},
        {"no gestures on power", {}, {{kDisableGesturesOnAC}}, {{"DisableGesturesOnAC", 0}},
         {{"DisableGesturesOnAC", "off"}}},
        {"upright", {}, {{kDisableGesturesWhenUpright}}, {{"DisableGesturesWhenUpright", 0}},
         {{"DisableGesturesWhenUpright", "off"}}},
        {"wake does nothing", {}, {{kResumeBehaviour, L"Do nothing"}}, {{"ResumeBehaviour", 0}},
         {{"ResumeBehaviour", "Do nothing"}}},
        {"wake locks everything", {}, {{kResumeBehaviour, L"Lock everything"}}, {{"ResumeBehaviour", 1}},
         {{"ResumeBehaviour", "Lock everything"}}},
        {"call wake unlocks", {}, {{kResumeCallBehaviour, L"Unlock phone"}}, {{"ResumeCallBehaviour", 3}},
         {{"ResumeCallBehaviour", "Unlock phone"}}},
        {"call connects", {}, {{kUnlockWhenCallConnected}}, {{"UnlockWhenCallConnected", 0}},
         {{"UnlockWhenCallConnected", "off"}}},
        {"call ends", {}, {{kUnlockWhenCallEnds}}, {{"UnlockWhenCallEnds", 0}}, {{"UnlockWhenCallEnds", "off"}}},
        {"power", {}, {{kUnlockOnAC}}, {{"UnlockOnAC", 0}},
         {{"UnlockOnAC", "off"}, {"RelockOnBattery", "off (disabled)"}}},
        {"battery", {}, {{kRelockOnBattery}}, {{"RelockOnBattery", 1}}, {{"RelockOnBattery", "on"}}},
        // A disabled box is stored as it is shown, and shows clear when it comes back disabled.
        {"battery kept while power is off", {{"RelockOnBattery", 1}}, {{kUnlockOnAC}},
         {{"UnlockOnAC", 0}, {"RelockOnBattery", 1}}, {{"UnlockOnAC", "off"}, {"RelockOnBattery", "off (disabled)"}}},
        {"stylus out", {}, {{kUnlockOnStylus}}, {{"UnlockOnStylus", 0}},
         {{"UnlockOnStylus", "off"}, {"RelockOnStylus", "off (disabled)"}}},
        {"stylus in", {}, {{kRelockOnStylus}}, {{"RelockOnStylus", 1}}, {{"RelockOnStylus", "on"}}},
        {"vibrate", {}, {{kVibrate}}, {{"Vibrate", 0}}, {{"Vibrate", "off"}, {"VibrateIfDifferent", "off (disabled)"}}},
        {"beep", {}, {{kBeep}}, {{"Beep", 1}}, {{"Beep", "on"}}},
        {"feedback on change", {}, {{kVibrateIfDifferent}}, {{"VibrateIfDifferent", 1}}, {{"VibrateIfDifferent", "on"}}},
        {"icon", {}, {{kShowIcon}}, {{"ShowIcon", 0}}, {{"ShowIcon", "off"}}},
        // No selection is stored as the list reports it.
        {"wake out of range", {{"ResumeBehaviour", 7}}, {}, {{"ResumeBehaviour", 0xFFFFFFFF}},
         {{"ResumeBehaviour", "(none)"}}},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.what);
        test::DeleteSettingsKey();
        Start(c.preset);
        if (c.preset.empty()) {
            EXPECT_EQ(Shown(Window()), kDefaultShown);
        }
        EXPECT_THAT(Act(c.actions), IsEmpty());
        EXPECT_THAT(PressOk(), IsEmpty()) << "the Transcriber mode is unchanged: no question";
        EXPECT_EQ(Window(), nullptr) << "OK closes the window";
        EXPECT_EQ(Stored(), With(kDefaultValues, c.stored));
        Start();
        EXPECT_EQ(Shown(Window()), With(kDefaultShown, c.reopened));
    }
}

TEST_F(SettingsWindowTest, DependentBoxesFollowTheirMastersAndKeepTheirMarks) {
    Start({{"RelockOnBattery", 1}, {"RelockOnStylus", 1}, {"VibrateIfDifferent", 1}});
    const struct {
        Place click;
        const char* dependent;
        const char* shows;
    } steps[] = {
        {kGestureLock, "GestureLockKind", "everything (disabled)"},
        {kGestureLock, "GestureLockKind", "everything"},
        {kUnlockOnAC, "RelockOnBattery", "on (disabled)"},
        {kUnlockOnAC, "RelockOnBattery", "on"},
        {kUnlockOnStylus, "RelockOnStylus", "on (disabled)"},
        {kUnlockOnStylus, "RelockOnStylus", "on"},
        {kVibrate, "VibrateIfDifferent", "on (disabled)"},
        {kBeep, "VibrateIfDifferent", "on"},
        {kVibrate, "VibrateIfDifferent", "on"},
        {kBeep, "VibrateIfDifferent", "on"},
        {kVibrate, "VibrateIfDifferent", "on (disabled)"},
    };
    int step = 0;
    for (const auto& s : steps) {
        Click(Window(), s.click);
        EXPECT_EQ(Shown(Window()).at(s.dependent), s.shows) << "step " << step++;
    }
}

struct Transcriber {
    const char* what;
    Values preset;
    std::vector<Action> actions;
    int notices;
    Texts shows;
};

TEST_F(SettingsWindowTest, TranscriberModeReplacesPanelOnlyChoicesWithANotice) {
    const Place transcriber = kTranscriberCompatibility;
    const Transcriber cases[] = {
        {"wake at panel", {{"ResumeCallBehaviour", 1}}, {{transcriber}}, 1,
         {{"ResumeBehaviour", "Lock everything"}, {"ResumeCallBehaviour", "Lock everything"}}},
        {"call wake at panel", {{"ResumeBehaviour", 0}}, {{transcriber}}, 1,
         {{"ResumeBehaviour", "Do nothing"}, {"ResumeCallBehaviour", "Lock everything"}}},
        {"all three at panel: one notice", {{"GestureLock", 2}}, {{transcriber}}, 1,
         {{"ResumeBehaviour", "Lock everything"}, {"ResumeCallBehaviour", "Lock everything"},
          {"GestureLockKind", "everything"}}},
        {"gesture lock off at panel", {{"GestureLock", 2}, {"ResumeBehaviour", 1}, {"ResumeCallBehaviour", 1}},
         {{kGestureLock}, {transcriber}}, 1, {{"GestureLockKind", "everything (disabled)"}}},
        {"nothing at panel", {{"ResumeBehaviour", 1}, {"ResumeCallBehaviour", 3}}, {{transcriber}}, 0,
         {{"ResumeBehaviour", "Lock everything"}, {"ResumeCallBehaviour", "Unlock phone"}}},
        // The stored call behaviour is not normalised at start, and unchecking changes nothing.
        {"unchecked", {{"TranscriberCompatibility", 1}}, {{transcriber}}, 0,
         {{"TranscriberCompatibility", "off"}, {"ResumeCallBehaviour", "Lock panel"}}},
        {"panel chosen for wake", {{"TranscriberCompatibility", 1}}, {{kResumeBehaviour, L"Lock panel"}}, 1,
         {{"ResumeBehaviour", "Lock everything"}}},
        {"panel chosen for call wake", {{"TranscriberCompatibility", 1}, {"ResumeCallBehaviour", 0}},
         {{kResumeCallBehaviour, L"Lock panel"}}, 1, {{"ResumeCallBehaviour", "Lock everything"}}},
        {"panel chosen for gestures", {{"TranscriberCompatibility", 1}}, {{kGestureLockKind, L"touch panel"}}, 1,
         {{"GestureLockKind", "everything"}}},
        {"other choice", {{"TranscriberCompatibility", 1}}, {{kResumeBehaviour, L"Unlock phone"}}, 0,
         {{"ResumeBehaviour", "Unlock phone"}}},
        {"panel chosen without the mode", {}, {{kResumeBehaviour, L"Do nothing"}, {kResumeBehaviour, L"Lock panel"}},
         0, {{"ResumeBehaviour", "Lock panel"}}},
    };
    for (const Transcriber& c : cases) {
        SCOPED_TRACE(c.what);
        test::DeleteSettingsKey();
        Start(c.preset);
        EXPECT_EQ(Act(c.actions), std::vector<std::string>(c.notices, kTranscriberNotice));
        const Texts shown = Shown(Window());
        for (const auto& [name, text] : c.shows) EXPECT_EQ(shown.at(name), text) << name;
    }
}

TEST_F(SettingsWindowTest, ChangedTranscriberModeAsksForASoftReset) {
    const Values preset = {{"ResumeBehaviour", 1}, {"ResumeCallBehaviour", 1}};
    Start(preset);
    Act({{kTranscriberCompatibility}});
    EXPECT_THAT(PressOk(L"cancel"), ElementsAre(kSoftResetQuestion));
    ASSERT_NE(Window(), nullptr) << "Cancel keeps the window open";
    EXPECT_EQ(Shown(Window()).at("TranscriberCompatibility"), "off") << "and the box as it was";
    EXPECT_EQ(Stored(), preset) << "nothing stored";
    EXPECT_EQ(test::FindLog("reboot"), -1);

    Act({{kTranscriberCompatibility}});
    EXPECT_THAT(PressOk(L"ok"), ElementsAre(kSoftResetQuestion));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(Stored().at("TranscriberCompatibility"), 1u);
    EXPECT_TRUE(settings->current.TranscriberCompatibility) << "in force";
    EXPECT_GE(test::FindLog("reboot how=2"), 0);
}

// The lock controller's shutdown closes the window while a message waits for an answer.
TEST_F(SettingsWindowTest, ShutdownUnderAMessageClosesWithoutStoring) {
    for (bool atOk : {false, true}) {
        SCOPED_TRACE(atOk ? "question on OK" : "notice");
        test::DeleteSettingsKey();
        Start({{"ResumeBehaviour", atOk ? 1u : 2u}});
        if (atOk) Act({{kTranscriberCompatibility}});
        const auto boxes = HandlingBoxes([&](const std::string&) {
            settings->quitOnDestroy = true;  // from another thread, as the controller does
            PostMessageW(Window(), WM_CLOSE, 0, 0);
            test::WaitUntil([] { return test::Devemu({L"dialog", L"list"}).out.empty(); });
        }, [&] {
            if (atOk) PressSoftKey(Window(), IDM_OK);
            else Click(Window(), kTranscriberCompatibility);
        });
        EXPECT_THAT(boxes, ElementsAre(atOk ? kSoftResetQuestion : kTranscriberNotice));
        EXPECT_EQ(Window(), nullptr);
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ends";
        EXPECT_EQ(Stored(), (Values{{"ResumeBehaviour", atOk ? 1u : 2u}}));
        EXPECT_EQ(test::FindLog("reboot"), -1);
    }
}

TEST_F(SettingsWindowTest, CancelStoresNothingButTheNextOpeningShowsTheChoices) {
    Start();
    Act({{kBeep}});
    PressSoftKey(Window(), IDM_CANCEL);
    uitest::Pump();
    EXPECT_EQ(Window(), nullptr);
    EXPECT_THAT(Stored(), IsEmpty());
    settings->Open();
    EXPECT_EQ(Shown(Window()).at("Beep"), "on");
    PressOk();
    EXPECT_EQ(Stored().at("Beep"), 1u);
}

TEST_F(SettingsWindowTest, GestureEditorTakesTheWindowsPlaceAndGivesItBack) {
    const Gesture recorded{{45, -90}};
    for (int key : {IDM_OK, IDM_CANCEL}) {
        SCOPED_TRACE(key == IDM_OK ? "editor OK" : "editor Cancel");
        test::DeleteSettingsKey();
        Start();
        GestureEditorWindow& editor = settings->Editor();
        Act({{kBeep}, {kEditGestures}});
        uitest::Pump();
        EXPECT_EQ(Window(), nullptr);
        ASSERT_NE(editor.Window(), nullptr);
        EXPECT_THAT(editor.lockGesture.steps, testing::ElementsAreArray(kDefaultLockGesture.steps));

        editor.lockGesture = recorded;  // as a recording leaves it
        PressSoftKey(editor.Window(), key);
        uitest::Pump();
        EXPECT_EQ(editor.Window(), nullptr);
        ASSERT_NE(Window(), nullptr);
        EXPECT_EQ(Shown(Window()).at("Beep"), "on") << "the controls as the user left them";
        const Gesture& kept = key == IDM_OK ? recorded : kDefaultLockGesture;
        EXPECT_THAT(editor.lockGesture.steps, testing::ElementsAreArray(kept.steps));

        PressOk();
        EXPECT_THAT(settings->current.LockGesture.steps, testing::ElementsAreArray(kept.steps));
        EXPECT_EQ(test::ReadSettingsValue(L"LockGesture")->data.size(), key == IDM_OK ? 16u : 34u);
    }
}

std::wstring Artifact(const wchar_t* name) {
    const std::wstring dir = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\" + name;
}

TEST_F(SettingsWindowTest, ScrollsFromTheFirstHeaderToTheLastBoxAndIsSaved) {
    Start();
    uitest::PumpFor(300);
    EXPECT_EQ(settings->contentHeight, 1082 + 8) << "the last box's bottom and the top margin again";
    auto shot = test::Devemu({L"screenshot", Artifact(L"settings-top.png"), L"--window", L"Varnel"});
    EXPECT_EQ(shot.code, 0) << shot.err;

    SendMessageW(Window(), WM_VSCROLL, SB_BOTTOM, 0);
    uitest::PumpFor(300);
    RECT client{}, last{};
    GetClientRect(Window(), &client);
    GetWindowRect(ControlAt(Window(), {8, 1042 - settings->scrollPos}), &last);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&last), 2);
    EXPECT_EQ(client.bottom - last.bottom, 8) << "the last box sits above the menu bar with its margin";
    shot = test::Devemu({L"screenshot", Artifact(L"settings-bottom.png"), L"--window", L"Varnel"});
    EXPECT_EQ(shot.code, 0) << shot.err;
}

}  // namespace
