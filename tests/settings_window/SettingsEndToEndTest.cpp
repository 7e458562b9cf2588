// The settings window of the running program: opened from outside by the thread message,
// confirmed with Ctrl+Q, closed by a stop.
#include <vector>

#include <gmock/gmock.h>

#include "SettingsWindowSupport.h"
#include "TestSupport.h"

namespace {

using namespace settingstest;

class SettingsEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        test::StopInstances();
        test::DeleteSettingsKey();
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    }
    void TearDown() override { test::StopInstances(); }
};

TEST_F(SettingsEndToEnd, ShowSettingsOpensTheWindowAndAStopClosesItUnsaved) {
    test::VarnelProcess varnel(L"");
    HWND window = ShowSettings(varnel);
    ASSERT_NE(window, nullptr) << "no settings window in front";
    EXPECT_EQ(Shown(window).at("ResumeBehaviour"), "Lock panel");

    Click(window, kBeep);
    test::VarnelProcess stop(L"/u");
    EXPECT_EQ(varnel.WaitExit(), 0u) << "closing the window at shutdown ends the loop";
    EXPECT_EQ(test::ReadSettingsDword(L"Beep"), std::nullopt);
}

// Real key strokes, which reach the window that has the focus in the foreground program.
void PressCtrlQ() {
    const struct {
        WORD key;
        DWORD flags;
    } strokes[] = {{VK_CONTROL, 0}, {'Q', 0}, {'Q', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    std::vector<INPUT> keys;
    for (const auto& stroke : strokes) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = stroke.key;
        input.ki.dwFlags = stroke.flags;
        keys.push_back(input);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
}

TEST_F(SettingsEndToEnd, CtrlQStoresAndClosesLikeOkWhereverTheFocusIs) {
    for (bool afterTap : {false, true}) {
        SCOPED_TRACE(afterTap ? "a check box has the focus" : "the window has the focus");
        test::DeleteSettingsKey();
        test::VarnelProcess varnel(L"");
        HWND window = ShowSettings(varnel);
        ASSERT_NE(window, nullptr);
        if (afterTap) Click(window, kBeep);
        PressCtrlQ();
        EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(window); }));
        EXPECT_EQ(test::ReadSettingsDword(L"Beep"), afterTap ? 1u : 0u);
        EXPECT_TRUE(varnel.Running()) << "the program stays resident";
    }
}

}  // namespace
