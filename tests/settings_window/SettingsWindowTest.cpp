// The settings window driven through its real controls and soft keys, its message boxes answered
// through the device console: in this process, and in varnel.exe with the options then in force.
#include <map>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "settings/SettingsWindow.h"

namespace {

using namespace settingstest;

// Each option by its registry name: its control, and its registry value's default (-1 for the
// combo box beside the "Gestures lock" box, which has no value of its own).
struct Option {
    Place place;
    int64_t fallback;
};

const std::map<std::string, Option> kOptions = {
    {"GesturesToggleLock", {{8, 100}, 0}}, {"GestureLock", {{8, 146}, 1}}, {"GestureLockKind", {{204, 146}, -1}},
    {"DisableGesturesOnAC", {{8, 192}, 1}}, {"DisableGesturesWhenUpright", {{8, 238}, 1}},
    {"ResumeBehaviour", {{8, 346}, 2}}, {"ResumeCallBehaviour", {{8, 402}, 2}},
    {"UnlockWhenCallConnected", {{8, 458}, 1}}, {"UnlockWhenCallEnds", {{8, 504}, 1}}, {"UnlockOnAC", {{8, 550}, 1}},
    {"RelockOnBattery", {{48, 596}, 0}}, {"UnlockOnStylus", {kUnlockOnStylus, 1}},
    {"RelockOnStylus", {kRelockOnStylus, 0}}, {"Vibrate", {{8, 796}, 1}}, {"Beep", {{8, 842}, 0}},
    {"VibrateIfDifferent", {{8, 888}, 0}}, {"ShowIcon", {{8, 934}, 1}}, {"TranscriberCompatibility", {{8, 1042}, 0}},
};

// The lines of the window's two messages, as AnsweringBoxes gives them.
const std::string kTranscriberNotice =
    R"(caption="Information" text="Transcriber compatibility mode cannot lock the touch panel only.\nYour settings have been automatically updated.")";
const std::string kSoftResetQuestion =
    R"(caption="Action required" text="Changing Transcriber compatibility mode requires you to soft reset your device.\nSoft reset now?")";

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// What the registry holds that differs from the defaults: "name=value " each, in name order,
// with "none" for a value that is not there.
std::string Stored() {
    std::string stored;
    for (const auto& [name, option] : kOptions) {
        const auto value = test::ReadSettingsDword(Wide(name).c_str());
        if (option.fallback < 0 || value == option.fallback) continue;
        stored += name + "=" + (value ? std::to_string(*value) : "none") + " ";
    }
    return stored;
}

// What the user sees in an option's control: a check box "on" or "off", a combo box its
// selected item or "(none)"; " (disabled)" follows a disabled control.
std::string Shown(HWND window, const std::string& option) {
    const HWND control = ControlAt(window, kOptions.at(option).place);
    wchar_t kind[16] = L"", item[64] = L"(none)";
    std::string shown = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "on" : "off";
    if (GetClassNameW(control, kind, 16) && lstrcmpiW(kind, L"COMBOBOX") == 0) {
        // Without a selection the index is CB_ERR, which leaves the item as it is.
        const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
        SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item));
        shown = test::Narrow(item);
    }
    return IsWindowEnabled(control) ? shown : shown + " (disabled)";
}

// A tap on an option's control, the choice of `item` there, or a soft key ("OK", "Cancel").
struct Action {
    std::string option;
    const wchar_t* item = nullptr;
};

// Actions from a start with `preset` stored; then what `option` shows, or with `stored` (what
// the registry then holds, as Stored gives it) what it shows at the next start.
struct Case {
    std::map<std::string, DWORD> preset;
    std::vector<Action> actions;
    const char* option;
    const char* shown;
    int notices = 0;  // Transcriber notices on the way
    std::string stored = "";
};

class SettingsWindowTest : public testing::Test {
protected:
    void SetUp() override {
        test::DeleteSettingsKey();
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    }
    void TearDown() override {
        Close();
        test::DeleteSettingsKey();
    }

    // The object as the program makes it at start from what the registry holds, window open.
    void Start(const std::map<std::string, DWORD>& preset = {}) {
        Close();
        for (const auto& [name, value] : preset) test::WriteSettingsDword(Wide(name).c_str(), value);
        settings = std::make_unique<SettingsWindow>();
        settings->Open();
        uitest::Pump();
    }
    void Close() {
        if (settings && Window()) DestroyWindow(Window());
        settings.reset();
    }
    HWND Window() const { return settings->Window(); }

    // The user's actions; returns the message boxes they brought up, answered with `answer`.
    std::vector<std::string> Act(const std::vector<Action>& actions, const wchar_t* answer = L"ok") {
        auto boxes = AnsweringBoxes(answer, [&] {
            for (const Action& a : actions) {
                if (a.option == "OK") PressSoftKey(Window(), IDM_OK);
                else if (a.option == "Cancel") PressSoftKey(Window(), IDM_CANCEL);
                else if (a.item) Choose(Window(), kOptions.at(a.option).place, a.item);
                else Click(Window(), kOptions.at(a.option).place);
            }
        });
        uitest::Pump();  // a closing window closes on the message it posted itself
        return boxes;
    }

    std::unique_ptr<SettingsWindow> settings;
};

// Every option stored on OK and shown at the next start; dependent controls following their
// masters and keeping their marks; panel-only choices giving way to the Transcriber mode.
TEST_F(SettingsWindowTest, EachChoiceShowsAndIsStoredAsTheRulesSay) {
    std::vector<Case> cases = {
        {{}, {{"GestureLockKind", L"touch panel"}, {"OK"}}, "GestureLockKind", "touch panel", 0, "GestureLock=2 "},
        {{}, {{"ResumeBehaviour", L"Do nothing"}, {"OK"}}, "ResumeBehaviour", "Do nothing", 0, "ResumeBehaviour=0 "},
        {{}, {{"ResumeCallBehaviour", L"Unlock phone"}, {"OK"}}, "ResumeCallBehaviour", "Unlock phone", 0,
         "ResumeCallBehaviour=3 "},
        {{{"ResumeBehaviour", 7}}, {{"OK"}}, "ResumeBehaviour", "(none)", 0, "ResumeBehaviour=4294967295 "},
        // Gestures that do not lock store 0, whatever the kind; it shows "everything" then.
        {{}, {{"GestureLockKind", L"touch panel"}, {"GestureLock"}, {"OK"}}, "GestureLockKind",
         "everything (disabled)", 0, "GestureLock=0 "},
        // A disabled box is stored as it is shown, and shows clear when it comes back disabled.
        {{}, {{"RelockOnBattery"}, {"UnlockOnAC"}, {"OK"}}, "RelockOnBattery", "off (disabled)", 0,
         "RelockOnBattery=1 UnlockOnAC=0 "},
        {{{"RelockOnBattery", 1}}, {{"UnlockOnAC"}}, "RelockOnBattery", "on (disabled)"},
        {{}, {{"Beep"}, {"Vibrate"}}, "VibrateIfDifferent", "off"},
        {{{"Vibrate", 0}}, {{"Beep"}, {"Beep"}}, "VibrateIfDifferent", "off (disabled)"},
        // The Transcriber mode checked with all three at a panel-only choice: one notice for all.
        {{{"GestureLock", 2}}, {{"TranscriberCompatibility"}}, "ResumeBehaviour", "Lock everything", 1},
        {{{"ResumeBehaviour", 1}, {"ResumeCallBehaviour", 3}}, {{"TranscriberCompatibility"}}, "ResumeBehaviour",
         "Lock everything"},
        // The stored call behaviour is not normalised at start, and unchecking changes nothing.
        {{{"TranscriberCompatibility", 1}}, {{"TranscriberCompatibility"}}, "ResumeCallBehaviour", "Lock panel"},
        {{{"TranscriberCompatibility", 1}}, {{"ResumeBehaviour", L"Lock panel"}}, "ResumeBehaviour",
         "Lock everything", 1},
        {{{"TranscriberCompatibility", 1}}, {{"GestureLockKind", L"touch panel"}}, "GestureLockKind", "everything",
         1},
    };
    // Every check box tapped alone, but the Transcriber box, which asks on OK (the test below).
    for (const auto& [name, option] : kOptions) {
        if (option.fallback < 0 || option.fallback > 1 || name == "TranscriberCompatibility") continue;
        const std::string stored = name + "=" + std::to_string(!option.fallback) + " ";
        cases.push_back({{}, {{name}, {"OK"}}, name.c_str(), option.fallback ? "off" : "on", 0, stored});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.actions.front().option + " for " + c.option + " to show " + c.shown);
        test::DeleteSettingsKey();
        Start(c.preset);
        EXPECT_EQ(Act(c.actions), std::vector<std::string>(c.notices, kTranscriberNotice));
        if (!c.stored.empty()) {
            EXPECT_EQ(Window(), nullptr) << "OK closes the window, asking nothing";
            EXPECT_EQ(Stored(), c.stored);
            Start();
        }
        EXPECT_EQ(Shown(Window(), c.option), c.shown);
    }
}

TEST_F(SettingsWindowTest, OnlyOkStoresAndAChangedTranscriberModeAsksForASoftResetFirst) {
    Start({{"ResumeBehaviour", 1}, {"ResumeCallBehaviour", 1}});  // no panel lock: no notice
    EXPECT_EQ(Act({{"Beep"}, {"TranscriberCompatibility"}, {"OK"}}, L"cancel"), std::vector{kSoftResetQuestion});
    ASSERT_NE(Window(), nullptr) << "Cancel keeps the window open";
    EXPECT_EQ(Shown(Window(), "TranscriberCompatibility"), "off") << "and the box as it was";
    EXPECT_EQ(test::ReadSettingsDword(L"Beep"), std::nullopt) << "nothing stored";
    EXPECT_EQ(test::FindLog("reboot"), -1);

    Act({{"Cancel"}});
    EXPECT_EQ(Window(), nullptr);
    settings->Open();
    EXPECT_EQ(Act({{"TranscriberCompatibility"}, {"OK"}}, L"ok"), std::vector{kSoftResetQuestion});
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(Stored(), "Beep=1 ResumeBehaviour=1 ResumeCallBehaviour=1 TranscriberCompatibility=1 ");
    EXPECT_GE(test::FindLog("reboot how=2"), 0);
}

// In varnel.exe: the window at its top and bottom for people to look at; what OK stores in force.
TEST_F(SettingsWindowTest, RunningProgramLocksEverythingOnWakeRightAfterOk) {
    test::StopInstances();
    test::VarnelProcess varnel(L"");
    HWND window = ShowSettings(varnel);
    ASSERT_NE(window, nullptr) << "no settings window in front";
    const std::wstring artifacts = test::BinDir() + L"\\..\\artifacts\\";
    CreateDirectoryW(artifacts.c_str(), nullptr);
    for (auto [shot, next] : {std::pair{L"settings-top.png", SB_BOTTOM}, {L"settings-bottom.png", SB_TOP}}) {
        Sleep(300);  // for the window to be painted
        const auto made = test::Devemu({L"screenshot", artifacts + shot, L"--window", L"Varnel"});
        EXPECT_EQ(made.code, 0) << made.err;
        SendMessageW(window, WM_VSCROLL, next, 0);
    }
    Choose(window, kOptions.at("ResumeBehaviour").place, L"Lock everything");
    PressSoftKey(window, IDM_OK);  // stores before it returns
    const uint64_t since = test::LogCount();
    // The device starts awake: it must sleep before a resume is a wake-up.
    test::PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}});
    EXPECT_GE(test::WaitForLog("input-lock enable=0", since), 0) << "keys and panel locked";
    EXPECT_EQ(test::FindLog("input-lock enable=1", since), -1) << "not the panel alone";
}

}  // namespace
