// Where the designed behaviour would defeat its own purpose, varnel.exe keeps the user's trust:
// commands carried out while a message box is up, the soft-reset question against the mode in
// force, no gesture without steps, one window at a time, a usable phone after the program, an
// unlock that wins over the lock delay, a lock gesture that does nothing kept out of the way,
// and the charger seen at start. Each driven through the device console on the emulated phone.
#include <functional>
#include <string>
#include <vector>

#include "ControllerFixture.h"
#include "Device.h"
#include "SettingsWindowSupport.h"
#include "app/AppGlobals.h"
#include "settings/Settings.h"

namespace {

using e2e::Strings;
using test::Events;
using test::LogCount;
using test::Play;
using test::PlayAll;
using test::StateValue;
using namespace settingstest;

constexpr Place kLockReset{116, 116};
constexpr Place kTranscriber{8, 1042};
const std::string kAll = "input-lock enable=0", kFree = "input-lock enable=1";

class SafeguardTest : public e2e::ControllerTest {
protected:
    // The lock requests from log line `since` on, once there are `count` of them (or after 10 s).
    static Strings Requests(uint64_t since, size_t count) {
        Strings requests;
        test::WaitUntil([&] { return (requests = Events(since, "input-lock")).size() >= count; });
        return requests;
    }

    // Runs the console commands and returns the lock requests they bring, `count` of them.
    static Strings After(const std::vector<std::vector<std::wstring>>& commands, size_t count) {
        const uint64_t since = LogCount();
        PlayAll(commands);
        return Requests(since, count);
    }

    static void Wake() { PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}}); }

    // Lays the phone face up until the detector has seen it, then turns it.
    static void Perform(const std::vector<std::wstring>& turn) {
        Play({L"tilt", L"0"});
        const unsigned long reads = std::stoul(StateValue("sensor-reads"));
        EXPECT_TRUE(test::WaitUntil([&] { return std::stoul(StateValue("sensor-reads")) >= reads + 2; }));
        Play(turn);
    }

    // The gesture editor in front, opened from the settings window.
    HWND OpenEditor() {
        HWND settings = ShowSettings(*varnel);
        if (!settings) return nullptr;
        Click(settings, kEditGestures);
        HWND editor = nullptr;
        test::WaitUntil([&] { return !IsWindow(settings) && (editor = FindWindowW(L"GUI|UserClass", L"Varnel")); });
        return editor;
    }

    void TearDown() override {
        second.reset();
        e2e::ControllerTest::TearDown();
    }

    // The program's visible windows titled "Varnel".
    std::vector<HWND> ProgramWindows() const {
        std::vector<HWND> windows;
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"GUI|UserClass", L"Varnel"));) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == varnel->Id() && IsWindowVisible(w)) windows.push_back(w);
        }
        return windows;
    }

    std::unique_ptr<test::VarnelProcess> second;  // a second start, asking
};

// OK in the gesture editor, then in the settings window it gives way to; what the registry then
// holds as the gesture `name`, "" when nothing.
std::u16string StoredOnOk(HWND editor, const wchar_t* name) {
    PressSoftKey(editor, IDM_OK);
    HWND settings = nullptr;
    if (!test::WaitUntil([&] { return !IsWindow(editor) && (settings = FindWindowW(L"GUI|UserClass", L"Varnel")); })) {
        return u"";
    }
    PressSoftKey(settings, IDM_OK);
    const auto stored = test::ReadSettingsValue(name);
    if (!stored) return u"";
    return std::u16string(reinterpret_cast<const char16_t*>(stored->data.data()), stored->data.size() / 2);
}

bool BoxUp(const std::string& caption) {
    return test::WaitUntil([&] {
        return test::Devemu({L"dialog", L"list"}).out.find("caption=\"" + caption + "\"") != std::string::npos;
    });
}

// While a message box is up, in the program or in a second start of it, the commands other
// programs post are carried out as without it, in order and once: a lock; a disable (a wake then
// leaves the lock alone, only the screen going off frees the keys); an enable (a wake then
// unlocks, as the options say); the settings asked for bring no second window; and the exit.
TEST_F(SafeguardTest, CommandsWhileAMessageBoxIsUpAreCarriedOutInOrderOnce) {
    const struct {
        const char* caption;
        DWORD callBehaviour;  // the wake-up on a call: "Lock panel" makes the Transcriber box say so
        std::function<void()> bringUp;
    } boxes[] = {
        {"Confirm action", LockEverything,  // the gesture editor's reset question
         [this] { PostMessageW(ControlAt(OpenEditor(), kLockReset), BM_CLICK, 0, 0); }},
        {"Information", LockPanel,  // the Transcriber notice
         [this] { PostMessageW(ControlAt(ShowSettings(*varnel), kTranscriber), BM_CLICK, 0, 0); }},
        {"Action required", LockEverything,  // the soft-reset question, on OK after the Transcriber box changed
         [this] {
             HWND settings = ShowSettings(*varnel);
             Click(settings, kTranscriber);
             PostMessageW(settings, WM_COMMAND, IDM_OK, 0);
         }},
        {"Action required", LockEverything,  // a second start's question whether to stop the running one
         [this] { second = std::make_unique<test::VarnelProcess>(L""); }},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.caption);
        Start({{L"ResumeBehaviour", UnlockPhone}, {L"ResumeCallBehaviour", box.callBehaviour}});
        box.bringUp();
        ASSERT_TRUE(BoxUp(box.caption));
        // The program's own box is over one of its windows; the second start's is not its.
        const size_t windows = second ? 1 : ProgramWindows().size();

        EXPECT_EQ(After({{L"post", L"lock", L"2"}}, 1), Strings{kAll});
        EXPECT_EQ(After({{L"post", L"disable"}, {L"post", L"lock", L"2"}}, 1), Strings{kAll});
        const uint64_t disabled = LogCount();
        Wake();
        Play({L"power", L"screen-off"});
        EXPECT_EQ(LockEvents(disabled, 1), Strings{kFree}) << "the wake unlocked";
        EXPECT_EQ(After({{L"post", L"enable"}, {L"post", L"lock", L"2"}}, 1), Strings{kAll});
        const uint64_t enabled = LogCount();
        Wake();
        EXPECT_EQ(Requests(enabled, 1), Strings{kFree});
        Play({L"post", L"show-settings"});
        EXPECT_TRUE(test::WaitUntil([&] { return ProgramWindows().size() == windows; }));
        EXPECT_FALSE(test::WaitUntil([&] { return ProgramWindows().size() != windows; }, 1500)) << "another window";

        const uint64_t exiting = LogCount();
        EXPECT_EQ(test::VarnelProcess(L"/u").WaitExit(), 0u);
        EXPECT_EQ(varnel->WaitExit(), 0u) << "the exit was not carried out";
        EXPECT_EQ(Events(exiting, "input-lock"), Strings{}) << "unlocked already";
        if (second) {
            test::Devemu({L"dialog", L"answer", L"no", L"--wait", L"5000"});
            EXPECT_EQ(second->WaitExit(), 0u);
            second.reset();
        }
        EXPECT_EQ(test::Devemu({L"dialog", L"list"}).out, "") << "a box left behind";
    }
}

// The question comes whenever OK stores a Transcriber mode other than the one in force, also
// after a visit to the gesture editor or a Cancel; declined, the box shows the mode in force.
TEST_F(SafeguardTest, TheSoftResetQuestionComesWheneverOkChangesTheModeInForce) {
    const std::string question =
        R"(caption="Action required" text="Changing Transcriber compatibility mode requires you to soft reset your device.\nSoft reset now?")";
    for (bool viaEditor : {true, false}) {
        SCOPED_TRACE(viaEditor ? "after the gesture editor" : "after a Cancel");
        Start({{L"ResumeBehaviour", LockEverything}, {L"ResumeCallBehaviour", LockEverything}});
        HWND settings = ShowSettings(*varnel);
        ASSERT_NE(settings, nullptr);
        Click(settings, kTranscriber);
        if (viaEditor) {
            Click(settings, kEditGestures);
            HWND editor = nullptr;
            ASSERT_TRUE(test::WaitUntil([&] {
                return !IsWindow(settings) && (editor = FindWindowW(L"GUI|UserClass", L"Varnel"));
            }));
            PressSoftKey(editor, IDM_CANCEL);
            ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(editor); }));
        } else {
            PressSoftKey(settings, IDM_CANCEL);
            ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(settings); }));
            Play({L"post", L"show-settings"});
        }
        ASSERT_TRUE(test::WaitUntil([&] { return (settings = FindWindowW(L"GUI|UserClass", L"Varnel")) != nullptr; }));
        EXPECT_EQ(AnsweringBoxes(L"cancel", [&] { PressSoftKey(settings, IDM_OK); }), Strings{question});
        EXPECT_EQ(SendMessageW(ControlAt(settings, kTranscriber), BM_GETCHECK, 0, 0), BST_UNCHECKED)
            << "back to the mode in force";
        Click(settings, kTranscriber);
        EXPECT_EQ(AnsweringBoxes(L"ok", [&] { PressSoftKey(settings, IDM_OK); }), Strings{question});
        EXPECT_EQ(test::ReadSettingsDword(L"TranscriberCompatibility"), 1u);
        EXPECT_GE(test::FindLog("reboot how=2"), 0);
    }
}

// A stored gesture that reads as no step is the default one: the phone lying face up neither
// unlocks nor locks it over and over, and the default gestures act. In the editor, recording
// without turning the phone keeps the gesture and says so.
TEST_F(SafeguardTest, NoGestureWithoutStepsComesIntoForce) {
    Fresh();
    test::WriteSettingsValue(L"LockGesture", REG_MULTI_SZ, u"\0", 2);
    test::WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, u"0\0" u"90\0", 12);
    varnel = std::make_unique<test::VarnelProcess>(L"");
    ASSERT_TRUE(varnel->WaitResident());
    Command(2);
    uint64_t since = LogCount();
    Perform({L"tilt", L"0"});
    Perform({L"tilt", L"10"});
    Perform({L"tilt", L"0"});
    EXPECT_EQ(Events(since, "input-lock"), Strings{}) << "face up acted";
    Perform({L"turn", L"90", L"90", L"90", L"45"});
    EXPECT_EQ(Requests(since, 1), Strings{kFree}) << "the default unlock gesture";
    since = LogCount();
    Perform({L"turn", L"-90", L"-90", L"-90", L"-45"});
    EXPECT_EQ(Requests(since, 1), Strings{kAll}) << "the default lock gesture";

    HWND editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    const Place record{184, 54}, note{8, 150};
    Click(editor, record);
    Click(editor, record);
    wchar_t text[80] = L"";
    GetWindowTextW(ControlAt(editor, note), text, 80);
    EXPECT_EQ(test::Narrow(text), "No turn recorded: the gesture is kept.");
    EXPECT_EQ(StoredOnOk(editor, L"LockGesture"), std::u16string(u"-90\0-90\0-90\0-45\0", 17));
}

// Settings asked for while the gesture editor is open bring the editor forward; what was just
// recorded there is not replaced by the stored gestures.
TEST_F(SafeguardTest, SettingsAskedForOverTheGestureEditorKeepItAndItsRecording) {
    Start();
    HWND editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    const Place unlockRecord{184, 224};
    Click(editor, unlockRecord);
    Play({L"turn", L"180", L"--rate", L"90"});
    const unsigned long reads = std::stoul(StateValue("sensor-reads"));
    ASSERT_TRUE(test::WaitUntil([&] { return std::stoul(StateValue("sensor-reads")) >= reads + 4; }));
    Click(editor, unlockRecord);
    Play({L"post", L"show-settings"});
    EXPECT_FALSE(test::WaitUntil([&] { return ProgramWindows() != std::vector<HWND>{editor}; }, 1500))
        << "another window";
    EXPECT_EQ(StoredOnOk(editor, L"UnlockGesture"), std::u16string(u"90\0" u"90\0", 7));
}

// However the program is stopped, keys and panel are free afterwards, the icon is gone and the
// touch registration and the power notifications are given back; Transcriber mode alike.
TEST_F(SafeguardTest, StoppingLeavesThePhoneUsable) {
    const struct {
        const char* how;
        bool transcriber;
        std::function<void()> stop;
    } stops[] = {
        {"varnel.exe /u", false, [] { EXPECT_EQ(test::VarnelProcess(L"/u").WaitExit(), 0u); }},
        {"the exit event, set by another program", false, [] { test::StopInstances(); }},
        {"varnel.exe /u, Transcriber mode", true, [] { EXPECT_EQ(test::VarnelProcess(L"/u").WaitExit(), 0u); }},
    };
    for (const auto& s : stops) {
        SCOPED_TRACE(s.how);
        Start({{L"TranscriberCompatibility", s.transcriber}}, 2);
        ASSERT_EQ(StateValue("input"), "locked");
        ASSERT_NE(StateValue("icon"), "hidden");
        s.stop();
        EXPECT_EQ(varnel->WaitExit(), 0u);
        EXPECT_EQ(StateValue("input"), "free");
        EXPECT_EQ(StateValue("icon"), "hidden");
        EXPECT_EQ(StateValue("panel"), "unregistered");
        EXPECT_GE(test::FindLog("power-notify stop"), 0);
    }
}

// Holds the power queue's lock, so that everything written meanwhile is read in one turn of the
// controller's loop: the order of a wake and what follows it is then certain.
struct PowerQueueHold {
    ~PowerQueueHold() {
        if (held) ReleaseMutex(mutex.get());
    }
    KernelHandle mutex{OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE,
                                  (devemu::ObjectName(L"msgq/POWER_MSG_QUEUE") + L"/lock").c_str())};
    bool held = mutex && WaitForSingleObject(mutex.get(), 10000) == WAIT_OBJECT_0;
};

// With "Lock everything" on wake, an unlock within the lock delay cancels the pending lock: the
// charger read with the wake, or the stylus pulled out as the wake is taken up. A later wake
// locks as usual.
TEST_F(SafeguardTest, AnUnlockWithinTheLockDelayCancelsIt) {
    for (bool charger : {true, false}) {
        SCOPED_TRACE(charger ? "the charger" : "the stylus");
        Start({{L"ResumeBehaviour", LockEverything}});
        const uint64_t since = LogCount();
        {
            PowerQueueHold hold;
            ASSERT_TRUE(hold.held);
            PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}});
            Play({charger ? L"ac" : L"stylus", charger ? L"online" : L"out"});
        }
        EXPECT_EQ(Requests(since, 1), Strings{kFree});
        Sleep(600);  // more than twice the lock delay
        EXPECT_EQ(Events(since, "input-lock"), Strings{kFree}) << "the delayed lock came after the unlock";
        Play({charger ? L"ac" : L"stylus", charger ? L"offline" : L"in"});
        const uint64_t later = LogCount();
        Wake();
        EXPECT_EQ(Requests(later, 1), Strings{kAll});
    }
}

// With the lock gesture off, the unlock gesture that equals it, or begins with it, unlocks.
TEST_F(SafeguardTest, ALockGestureThatDoesNothingDoesNotStandInTheUnlockGesturesWay) {
    const struct {
        std::u16string unlock;
        std::vector<std::wstring> turn;
    } cases[] = {
        {{u"-90\0-90\0-90\0-45\0", 17}, {L"turn", L"-90", L"-90", L"-90", L"-45"}},
        {{u"-90\0-90\0-90\0-45\0-90\0", 21}, {L"turn", L"-90", L"-90", L"-90", L"-45", L"-90"}},
    };
    for (const auto& c : cases) {
        Fresh();
        test::WriteSettingsDword(L"GestureLock", 0);
        test::WriteSettingsValue(L"UnlockGesture", REG_MULTI_SZ, c.unlock.data(),
                                 static_cast<DWORD>(c.unlock.size() * 2));
        varnel = std::make_unique<test::VarnelProcess>(L"");
        ASSERT_TRUE(varnel->WaitResident());
        Command(2);
        const uint64_t since = LogCount();
        Perform(c.turn);
        EXPECT_EQ(Requests(since, 1), Strings{kFree}) << c.turn.size() - 1 << " steps";
    }
}

// Started on the charger, the program knows it is: a wake there does not lock, and gesture
// detection (which reads the sensor at every tick) stays off there, as the default options say.
TEST_F(SafeguardTest, StartedOnTheChargerTheProgramKnowsItIs) {
    Fresh();
    Play({L"ac", L"online"});
    varnel = std::make_unique<test::VarnelProcess>(L"");
    ASSERT_TRUE(varnel->WaitResident());
    Command(0);
    const uint64_t since = LogCount();
    const std::string reads = StateValue("sensor-reads");
    Wake();
    Play({L"post", L"lock", L"0"});
    EXPECT_EQ(Requests(since, 1), Strings{kFree}) << "only the command's";
    EXPECT_FALSE(test::WaitUntil([&] { return StateValue("sensor-reads") != reads; }, 1000)) << "detecting";
    EXPECT_EQ(Events(since, "input-lock"), Strings{kFree}) << "the wake locked";
}

}  // namespace
