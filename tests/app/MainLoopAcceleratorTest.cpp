// The main loop's accelerator: Ctrl+Q is the menu bar's OK in the window in front, whether the
// window itself or one of its controls has the focus. The loop needs the Application, which
// holds window objects for the whole process, so this is no window test program's business.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "app/Application.h"
#include "ui/CheckBox.h"

namespace {

using testing::ElementsAre;
using uitest::TestWindow;

std::vector<std::string> commands;

struct MenuRecorder {
    INT_PTR OnMenu(LPARAM args) {
        const MessageArgs& a = ArgsAt(args);
        commands.push_back("menu " + std::to_string(LOWORD(a.wParam)) + " from " +
                           (HIWORD(a.wParam) == 1 ? "accelerator" : "elsewhere"));
        PostQuitMessage(0);
        return 0;
    }
};

void CALLBACK GiveUp(HWND window, UINT, UINT_PTR id, DWORD) {
    commands.push_back("gave up waiting");
    KillTimer(window, id);
    PostQuitMessage(0);
}

void Key(std::vector<INPUT>& inputs, WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
}

TEST(MainLoopAccelerator, CtrlQIsTheMenuBarsOkWhereverTheFocusIs) {
    for (bool onControl : {false, true}) {
        MenuRecorder recorder;
        CheckBox* box = nullptr;
        TestWindow window([&](TestWindow& w) {
            w.AddMenuBar().commandCallback.Set(Bind(&recorder, &MenuRecorder::OnMenu));
            box = &w.Own(std::make_unique<CheckBox>());
            box->Create(w.Window(), L"Vibrate", 8, 8, 200, 40);
        });
        window.Open();
        uitest::Pump();
        ASSERT_EQ(GetForegroundWindow(), window.Window());
        // A tap gives a control the focus; the loop then offers the keys with that control.
        if (onControl) SendMessageW(box->Window(), BM_CLICK, 0, 0);
        ASSERT_EQ(GetFocus(), onControl ? box->Window() : window.Window());
        commands.clear();

        // A plain Q first, which is no accelerator, then Ctrl+Q: real key strokes through the
        // input queue, so TranslateAcceleratorW sees the keyboard state the user made.
        std::vector<INPUT> keys;
        Key(keys, 'Q', false);
        Key(keys, 'Q', true);
        Key(keys, VK_CONTROL, false);
        Key(keys, 'Q', false);
        Key(keys, 'Q', true);
        Key(keys, VK_CONTROL, true);
        ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());

        SetTimer(window.Window(), 1, 15000, GiveUp);
        RunMessageLoop(LoadAcceleratorsW(AppInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS)),
                       Application::Instance());
        KillTimer(window.Window(), 1);
        EXPECT_THAT(commands, ElementsAre("menu 40000 from accelerator")) << "focus on the control: " << onControl;
    }
}

}  // namespace
