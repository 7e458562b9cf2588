// The main loop: the thread messages, posted from outside through the device console exactly as
// another process posts them, and the accelerator.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "app/Mailbox.h"
#include "app/ThreadMessages.h"
#include "ui/CheckBox.h"

namespace {

class MainLoopTest : public testing::Test {
protected:
    void SetUp() override {
        app.enableLevel = 0;
        app.pendingCommand = -1;
        WaitForSingleObject(app.commandEvent.Handle(), 0);
    }
    void TearDown() override { test::DeleteSettingsKey(); }

    // The program's loop on this thread: it handles what was posted before, then ends on the
    // WM_QUIT posted after it.
    static void RunLoop(HACCEL accelerators = nullptr) {
        PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
        RunMessageLoop(accelerators);
    }

    Application& app = Application::Instance();
};

// Posted from outside, through the device console exactly as another process posts them, to the
// mailbox's thread; the mailbox's end waits for what was posted before it.
TEST_F(MainLoopTest, ConsolePostsToTheMailboxAreCommandsAndNothingElseIs) {
    const struct {
        std::vector<std::vector<std::wstring>> posts;
        int32_t enableLevel;
        int32_t pendingCommand;
    } cases[] = {
        {{{L"post", L"disable"}, {L"post", L"disable"}, {L"post", L"enable"}}, -1, -1},
        {{{L"post", L"enable"}}, 1, -1},
        {{{L"post", L"lock", L"0xFFFFC001"}}, 0, 0xC001},  // only the low 16 bits, never negative
        {{{L"post", L"lock", L"3"}, {L"post", L"lock", L"4"}}, 0, 4},  // the later one wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        SetUp();
        {
            Mailbox mailbox(app);
            test::WriteSettingsDword(L"ThreadId", mailbox.ThreadId());
            // Not a command: the value after the four.
            PostThreadMessageW(mailbox.ThreadId(), WM_APP_LOCK_COMMAND + 1, 0xC001, 0);
            for (const auto& args : c.posts) test::Play(args);
        }
        EXPECT_EQ(app.enableLevel, c.enableLevel);
        EXPECT_EQ(app.pendingCommand, c.pendingCommand);
        EXPECT_EQ(test::Signalled(app.commandEvent.Handle()), c.pendingCommand != -1);
    }
}

// Showing the settings needs the main thread: the mailbox hands it to a window there, which the
// main loop (or any modal loop) dispatches. A thread message to the main thread is nothing.
TEST_F(MainLoopTest, ShowSettingsGoesOnToTheMainThread) {
    SettingsWindow& settings = app.settingsWindow;
    Mailbox mailbox(app);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP_SHOW_SETTINGS, 0, 0);
    RunLoop();
    EXPECT_EQ(settings.Window(), nullptr) << "opened by a thread message to the main thread";
    PostThreadMessageW(mailbox.ThreadId(), WM_APP_SHOW_SETTINGS, 0, 0);
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_POSTMESSAGE), WAIT_OBJECT_0);
    RunLoop();
    ASSERT_NE(settings.Window(), nullptr);
    DestroyWindow(settings.Window());
}

std::vector<WPARAM> commands;

struct MenuRecorder {
    INT_PTR OnMenu(LPARAM args) {
        commands.push_back(ArgsAt(args).wParam);
        return 0;
    }
};

// Ctrl+Q is the menu bar's OK, whether the window itself or one of its controls has the focus:
// the loop offers a key with the window it was typed in. A plain Q is no command.
TEST_F(MainLoopTest, CtrlQIsTheMenuBarsOkWhereverTheFocusIs) {
    MenuRecorder recorder;
    CheckBox* box = nullptr;
    uitest::TestWindow window([&](uitest::TestWindow& w) {
        w.AddMenuBar().commandCallback.Set(Bind(&recorder, &MenuRecorder::OnMenu));
        box = &w.Own(std::make_unique<CheckBox>());
        box->Create(w.Window(), L"Vibrate", 8, 8, 200, 40);
    });
    window.Open();
    HACCEL accelerators = LoadAcceleratorsW(AppInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    BYTE keys[256] = {};
    for (HWND focus : {window.Window(), box->Window()}) {
        for (BYTE control : {0, 0x80}) {
            keys[VK_CONTROL] = control;  // the keyboard state the accelerator is checked against
            SetKeyboardState(keys);
            PostMessageW(focus, WM_KEYDOWN, 'Q', 0);
            RunLoop(accelerators);
        }
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(commands, std::vector<WPARAM>(2, MAKEWPARAM(IDM_OK, 1))) << "OK from the accelerator";
}

}  // namespace
