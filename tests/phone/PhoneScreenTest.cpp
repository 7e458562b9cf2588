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
    // Read from the screen, which may be mid-repaint as the window takes its first focus.
    int height = 0;
    EXPECT_TRUE(test::WaitUntil([&] { return (height = TextHeight(box)) >= 20; }))
        << "a check box's caption at VGA density: " << height << " pixels";
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

// Without a stylus, as a phone is often used: a window opens on its first control, focused; the
// D-pad moves the focus in the controls' order and brings the focused one into view; Action acts
// on it (ticks a box, opens a list, follows a link); Back cancels.
TEST_F(PhoneScreenTest, WithoutAStylusTheKeysMoveTheFocusActAndGoBack) {
    HWND settings = ShowSettings(varnel);
    ASSERT_NE(settings, nullptr);
    const DWORD thread = GetWindowThreadProcessId(settings, nullptr);
    const auto focus = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    };
    const auto focused = [&](HWND control) { return test::WaitUntil([&] { return focus() == control; }); };
    EXPECT_TRUE(focused(ControlAt(settings, kEditGestures))) << "opened on its first control";
    Play({L"key", L"down"});
    EXPECT_TRUE(focused(ControlAt(settings, kGesturesToggleLock)));

    // Down to the notification icon's box, far below the page: it comes into view.
    const HWND showIcon = ControlAt(settings, {8, 934}), transcriber = ControlAt(settings, {8, 1042});
    for (int i = 0; i < 30 && focus() != showIcon; ++i) {
        const HWND was = focus();
        Play({L"key", L"down"});
        test::WaitUntil([&] { return focus() != was; });
    }
    ASSERT_EQ(focus(), showIcon);
    RECT page{};
    GetClientRect(settings, &page);
    MapWindowPoints(settings, nullptr, reinterpret_cast<POINT*>(&page), 2);
    const auto onPage = [&] {
        const RECT box = ScreenRect(showIcon);
        return box.top >= page.top && box.bottom <= page.bottom;
    };
    EXPECT_TRUE(test::WaitUntil(onPage)) << "the focused box off the page: " << Text(ScreenRect(showIcon));
    Play({L"key", L"action"});
    EXPECT_TRUE(test::WaitUntil([&] { return SendMessageW(showIcon, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }))
        << "Action ticks the box off";
    // The Transcriber box, ticked: its notice comes, and once it is answered the focus is back.
    Play({L"key", L"down"});
    ASSERT_TRUE(focused(transcriber));
    Play({L"key", L"action"});
    ASSERT_EQ(test::Devemu({L"dialog", L"answer", L"ok", L"--caption", L"Information"}).code, 0);
    EXPECT_TRUE(focused(transcriber)) << "the focus lost to the message box";
    // Ticked off again, as Back keeps what the boxes show for the next opening.
    Play({L"key", L"action"});
    ASSERT_TRUE(test::WaitUntil([&] { return SendMessageW(transcriber, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    Play({L"key", L"back"});
    EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(settings); })) << "Back cancels";
    EXPECT_EQ(test::ReadSettingsDword(L"ShowIcon"), std::nullopt) << "stored";

    // A drop-down list opened by Action keeps the D-pad to choose in it; Action confirms.
    settings = ShowSettings(varnel);
    ASSERT_NE(settings, nullptr);
    const HWND kind = ControlAt(settings, {204, 146});
    for (int i = 0; i < 3; ++i) Play({L"key", L"down"});
    ASSERT_TRUE(focused(kind));
    Play({L"key", L"action"});
    ASSERT_TRUE(test::WaitUntil([&] { return SendMessageW(kind, CB_GETDROPPEDSTATE, 0, 0) != 0; })) << "not opened";
    Play({L"key", L"up"});
    Play({L"key", L"action"});
    EXPECT_TRUE(test::WaitUntil([&] { return SendMessageW(kind, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
    EXPECT_EQ(SendMessageW(kind, CB_GETCURSEL, 0, 0), 0) << "\"touch panel\" chosen";
    EXPECT_EQ(focus(), kind);

    // Action on the link opens the gesture editor, on its first control; Back brings the settings back.
    Play({L"key", L"up", L"up", L"up"});
    ASSERT_TRUE(focused(ControlAt(settings, kEditGestures)));
    Play({L"key", L"action"});
    HWND editor = nullptr;
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(settings) && (editor = FindWindowW(L"GUI|UserClass", L"Varnel")); }));
    EXPECT_TRUE(focused(ControlAt(editor, {116, 54}))) << "the lock gesture's play button";
    Play({L"key", L"back"});
    EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(editor) && FindWindowW(L"GUI|UserClass", L"Varnel"); }));
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
