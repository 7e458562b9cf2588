// Varnel as a person meets it on the phone's screen: its windows at 192 DPI between the shell's
// bars and without a desktop caption, the lock icon in the navigation bar, a locked panel that
// swallows taps until the unlock gesture, and F1/F2 as the soft keys.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "PhoneScreen.h"
#include "SettingsWindowSupport.h"
#include "TestSupport.h"

namespace {

using namespace settingstest;
using test::Play;

constexpr Place kGesturesToggleLock{8, 100};

// Until the program has read the sensor `count` more times.
void WaitReads(int count) {
    const int start = std::stoi(test::StateValue("sensor-reads"));
    EXPECT_TRUE(test::WaitUntil([&] { return std::stoi(test::StateValue("sensor-reads")) >= start + count; }));
}

void Save(const wchar_t* name) {
    const std::wstring artifacts = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(artifacts.c_str(), nullptr);
    Sleep(300);  // for the program and the bar to have painted
    Play({L"screenshot", artifacts + L"\\" + name, L"--screen"});
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The visible top-level windows of the process that carry a desktop caption.
std::vector<HWND> CaptionedWindows(DWORD process) {
    struct Search {
        DWORD process;
        std::vector<HWND> found;
    } search{process, {}};
    EnumWindows([](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.process && IsWindowVisible(window) && (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
            s.found.push_back(window);
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Rows from the topmost to the bottommost dark pixel of the text right of a check box's square.
int TextHeight(HWND checkBox) {
    RECT rect = ScreenRect(checkBox);
    rect.left += 32;  // past the square
    const test::ScreenPixels shot = test::CaptureScreen(rect);
    int top = -1, bottom = -1;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const COLORREF p = shot.At(x, y);
            if (GetRValue(p) < 100 && GetGValue(p) < 100 && GetBValue(p) < 100) {
                if (top < 0) top = y;
                bottom = y;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

// Pixels of the navigation bar dark enough to be no part of the bar itself: the lock icon's.
int DarkOnNavigationBar() {
    RECT bar = devemu::PhoneScreen();
    bar.bottom = bar.top + devemu::kNavBarHeight;
    const test::ScreenPixels shot = test::CaptureScreen(bar);
    int n = 0;
    for (COLORREF p : shot.pixels) n += GetRValue(p) < 8 && GetGValue(p) < 8 && GetBValue(p) < 8;
    return n;
}

class PhoneScreenTest : public testing::Test {
protected:
    void SetUp() override {
        test::StopInstances();
        test::DeleteSettingsKey();
        Play({L"reset"});
        ASSERT_TRUE(shell.Started());
        ASSERT_TRUE(varnel.WaitResident());
    }
    void TearDown() override { test::DeleteSettingsKey(); }

    test::PhoneShell shell;
    test::VarnelProcess varnel{L""};
};

TEST_F(PhoneScreenTest, WindowsLieBetweenTheBarsWithoutCaptionTheirTextVgaSizedAndF1F2AreTheSoftKeys) {
    const RECT screen = devemu::PhoneScreen();
    const RECT between{screen.left, screen.top + devemu::kNavBarHeight, screen.right,
                       screen.bottom - devemu::kSoftKeyBarHeight};
    // In front as soon as it shows, which is before the window makes room for its soft keys.
    const auto opened = [&](HWND window) {
        test::WaitUntil([&] { return Text(ScreenRect(window)) == Text(between); });
        return window;
    };
    HWND settings = opened(ShowSettings(varnel));
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(Text(ScreenRect(settings)), Text(between)) << "the settings window between the bars";
    EXPECT_THAT(CaptionedWindows(varnel.Id()), testing::IsEmpty());
    const HWND box = ControlAt(settings, kGesturesToggleLock);
    test::WaitUntil([&] { return TextHeight(box) > 0; });  // painted
    EXPECT_GE(TextHeight(box), 20) << "a check box's caption at VGA density";
    Save(L"phone-settings.png");

    Play({L"tap", L"--text", L"Edit gestures"});
    HWND editor = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] {
        editor = FindWindowW(L"GUI|UserClass", L"Varnel");
        return editor && editor != settings && !IsWindow(settings);
    }));
    EXPECT_EQ(Text(ScreenRect(opened(editor))), Text(between));
    EXPECT_THAT(CaptionedWindows(varnel.Id()), testing::IsEmpty());
    Save(L"phone-gesture-editor.png");
    Play({L"key", L"right-soft"});  // Cancel: back to the settings
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(editor) && FindWindowW(L"GUI|UserClass", L"Varnel"); }));
    settings = FindWindowW(L"GUI|UserClass", L"Varnel");

    // The box ticked and the left soft key: stored. Ticked off again and the right: cancelled.
    for (const wchar_t* key : {L"left-soft", L"right-soft"}) {
        SCOPED_TRACE(test::Narrow(key));
        if (!IsWindow(settings)) settings = opened(ShowSettings(varnel));
        ASSERT_NE(settings, nullptr);
        const LRESULT before = SendMessageW(ControlAt(settings, kGesturesToggleLock), BM_GETCHECK, 0, 0);
        Play({L"tap", L"--text", L"Gestures toggle lock"});
        ASSERT_TRUE(test::WaitUntil([&] {
            return SendMessageW(ControlAt(settings, kGesturesToggleLock), BM_GETCHECK, 0, 0) != before;
        }));
        Play({L"key", key});
        EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(settings); })) << "the window closes";
    }
    EXPECT_EQ(test::ReadSettingsDword(L"GesturesToggleLock"), 1u);
}

TEST_F(PhoneScreenTest, ALockedPanelSwallowsTheTapThatReachesTheControlAfterTheUnlockGesture) {
    const HWND settings = ShowSettings(varnel);
    ASSERT_NE(settings, nullptr);
    const HWND box = ControlAt(settings, kGesturesToggleLock);
    const RECT rect = ScreenRect(box);
    const std::vector<std::wstring> tap{L"tap", std::to_wstring((rect.left + rect.right) / 2),
                                        std::to_wstring((rect.top + rect.bottom) / 2)};
    const auto checked = [&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    EXPECT_EQ(DarkOnNavigationBar(), 0);

    uint64_t since = test::LogCount();
    test::PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}});
    ASSERT_GE(test::WaitForLog("input-lock", since), 0);
    EXPECT_EQ(test::StateValue("panel"), "locked");
    EXPECT_EQ(test::StateValue("icon"), "shown id=1");
    EXPECT_TRUE(test::WaitUntil([] { return DarkOnNavigationBar() > 50; })) << "the lock icon on the bar";
    Save(L"phone-locked.png");
    since = test::LogCount();
    Play(tap);
    EXPECT_GE(test::WaitForLog("tap swallowed", since), 0);
    Sleep(300);
    EXPECT_FALSE(checked()) << "the tap reached the box";

    Play({L"tilt", L"0"});
    WaitReads(2);
    since = test::LogCount();
    Play({L"turn", L"90", L"90", L"90", L"45"});
    ASSERT_GE(test::WaitForLog("input-lock enable=1", since), 0) << "unlocked by the gesture";
    EXPECT_EQ(test::StateValue("panel"), "free");
    EXPECT_TRUE(test::WaitUntil([] { return DarkOnNavigationBar() == 0; })) << "the icon gone";
    Save(L"phone-unlocked.png");
    since = test::LogCount();
    Play(tap);
    EXPECT_TRUE(test::WaitUntil(checked)) << "the same tap now reaches the box";
    EXPECT_EQ(test::FindLog("swallowed", since), -1);
}

}  // namespace
