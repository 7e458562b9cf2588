// A sample screen built of every control, the way the settings window is built: saved as a
// screenshot for people to look at, and checked for what a user would notice first.
#include <string>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"

namespace {

using uitest::TestWindow;

void AddItems(HWND combo, std::initializer_list<const wchar_t*> items) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void BuildSample(TestWindow& w) {
    HWND parent = w.Window();
    w.AddMenuBar();
    auto header = [&](const wchar_t* text, int y) {
        w.Own(std::make_unique<Label>(Label::kSectionHeader)).Create(parent, text, 8, y, 464, 40);
    };
    auto check = [&](const wchar_t* text, int x, int y, int width, bool checked) {
        auto& box = w.Own(std::make_unique<CheckBox>());
        box.Create(parent, text, x, y, width, 40);
        SendMessageW(box.Window(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    auto combo = [&](int x, int y, int width, std::initializer_list<const wchar_t*> items) {
        auto& box = w.Own(std::make_unique<ComboBox>());
        box.Create(parent, x, y, width, 200);
        AddItems(box.Window(), items);
    };
    auto label = [&](const wchar_t* text, int x, int y, int height) {
        w.Own(std::make_unique<Label>()).Create(parent, text, x, y, 220, height);
    };
    header(L"Gestures", 8);
    w.Own(std::make_unique<LinkButton>()).Create(parent, L"Edit gestures", 8, 54, 150, 40);
    check(L"Gestures toggle lock", 8, 100, 260, false);
    check(L"Gestures lock", 8, 146, 190, true);
    combo(204, 146, 170, {L"touch panel", L"everything"});
    check(L"Disable gestures on external power", 8, 192, 420, true);
    check(L"Disable gestures when upright", 8, 238, 370, false);
    header(L"Autolock", 300);
    combo(8, 346, 210, {L"Lock panel", L"Do nothing", L"Lock everything", L"Unlock phone"});
    label(L"when phone awakes", 224, 346, 40);
    combo(8, 402, 210, {L"Do nothing", L"Lock everything", L"Lock panel", L"Unlock phone"});
    label(L"when phone awakes on incoming call", 224, 392, 60);
    check(L"Unlock phone when call connects", 8, 458, 400, true);
    check(L"Unlock phone when call ends", 8, 504, 400, false);
    check(L"Unlock phone on external power", 8, 550, 400, true);
    check(L"Relock when back on battery", 48, 596, 400, false);
    check(L"Unlock phone when stylus is removed", 8, 642, 450, false);
    check(L"Relock when stylus is inserted", 48, 688, 400, false);
    header(L"Feedback", 750);
    check(L"Vibrate on successful gesture", 8, 796, 360, true);
}

std::wstring ArtifactPath(const wchar_t* name) {
    const std::wstring dir = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\" + name;
}

TEST(SampleScreen, FillsThePhoneScreenAboveTheMenuBarAndIsSaved) {
    TestWindow window(BuildSample, L"Varnel");
    window.Open();
    uitest::PumpFor(300);

    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT frame{}, bar{};
    GetWindowRect(window.Window(), &frame);
    ASSERT_NE(window.menuBar, nullptr);
    GetWindowRect(window.menuBar->Window(), &bar);
    EXPECT_EQ(bar.bottom, screen.bottom);
    EXPECT_EQ(bar.left, screen.left);
    EXPECT_EQ(bar.right, screen.right);
    EXPECT_EQ(frame.bottom, bar.top) << "the window ends where the menu bar begins";
    EXPECT_EQ(frame.top, screen.top);

    auto result = test::Devemu({L"screenshot", ArtifactPath(L"ui-sample.png")});
    EXPECT_EQ(result.code, 0) << result.err;

    // And scrolled to the end: what comes up from below the fold is painted, not left as it was.
    SendMessageW(window.Window(), WM_VSCROLL, SB_BOTTOM, 0);
    uitest::PumpFor(300);
    HWND feedback = FindWindowExW(window.Window(), nullptr, UserWindow::kClassName, L"Feedback");
    ASSERT_NE(feedback, nullptr);
    EXPECT_GT(uitest::Capture(feedback)->Count(RGB(128, 128, 128)), 100) << "its grey tab shows";
    result = test::Devemu({L"screenshot", ArtifactPath(L"ui-sample-scrolled.png")});
    EXPECT_EQ(result.code, 0) << result.err;
}

}  // namespace
