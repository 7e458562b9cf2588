// The phone's shell process against windows of this test: the navigation bar's icons and charger
// mark, F1/F2 as soft keys, and the input guard that swallows taps and keys while locked.
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>

#include "DeviceWindow.h"
#include "PhoneScreen.h"
#include "ShellLook.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "ce/Kernel.h"
#include "ce/Shell.h"
#include "ce/Touch.h"
#include "ui/CheckBox.h"

namespace {

using test::Play;

constexpr CLSID kTestClass = {0x4E3B1D2A, 0x1111, 0x4C1D, {0x9A, 0x10, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

// A 32 x 32 icon of one opaque colour.
Icon SolidIcon(COLORREF colour) {
    std::vector<uint32_t> pixels(32 * 32, 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
    std::vector<uint8_t> mask(32 * 32 / 8, 0);  // all opaque
    GdiObject colourBits(CreateBitmap(32, 32, 1, 32, pixels.data()));
    GdiObject maskBits(CreateBitmap(32, 32, 1, 1, mask.data()));
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(maskBits.get()), static_cast<HBITMAP>(colourBits.get())};
    return Icon(CreateIconIndirect(&info));
}

// Pixels of `colour` on the navigation bar, as the screen shows it.
int OnNavigationBar(COLORREF colour) {
    RECT bar = devemu::PhoneScreen();
    bar.bottom = bar.top + devemu::kNavBarHeight;
    return test::CaptureScreen(bar).Count(colour);
}

class PhoneShellTest : public testing::Test {
protected:
    static void SetUpTestSuite() { shell = std::make_unique<test::PhoneShell>(); }
    static void TearDownTestSuite() { shell.reset(); }
    void SetUp() override {
        ASSERT_TRUE(shell->Started());
        Play({L"reset"});
    }
    void TearDown() override { InputLock(false); }

    static void InputLock(bool on) {
        InputLockRequest request{0, on ? 0u : 1u};
        DWORD returned = 0;
        KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
    }

    static inline std::unique_ptr<test::PhoneShell> shell;
};

TEST_F(PhoneShellTest, NavigationBarShowsEachIconWhileItIsShownAndTheChargerWhilePluggedIn) {
    const COLORREF kRed = RGB(255, 0, 0), kBolt = RGB(250, 220, 60);
    Icon red = SolidIcon(kRed);
    SHNOTIFICATIONDATA data{};
    data.cbStruct = sizeof data;
    data.dwID = 7;
    data.npPriority = SHNP_ICONIC;
    data.hicon = red.get();
    data.clsid = kTestClass;
    EXPECT_EQ(OnNavigationBar(kRed), 0);
    ASSERT_EQ(SHNotificationAdd(&data), ERROR_SUCCESS);
    EXPECT_EQ(test::StateValue("icon"), "shown id=7");
    EXPECT_TRUE(test::WaitUntil([&] { return OnNavigationBar(kRed) == 32 * 32; })) << OnNavigationBar(kRed);
    ASSERT_EQ(SHNotificationRemove(&kTestClass, 7), ERROR_SUCCESS);
    EXPECT_TRUE(test::WaitUntil([&] { return OnNavigationBar(kRed) == 0; }));

    EXPECT_EQ(OnNavigationBar(kBolt), 0);
    Play({L"ac", L"online"});
    EXPECT_TRUE(test::WaitUntil([&] { return OnNavigationBar(kBolt) > 100; }));
    Play({L"ac", L"offline"});
    EXPECT_TRUE(test::WaitUntil([&] { return OnNavigationBar(kBolt) == 0; }));
}

// A window of this test in front with its soft keys, a check box to tap and an edit box with the
// focus, registered with the touch library as the program registers its lock window.
// A program that starts as the phone's do sees the screen below the navigation bar as its work
// area, and the shell's soft-key bar goes across the bottom of it.
TEST(PhoneWorkArea, IsTheScreenBelowTheNavigationBarForAProgramOfThePhone) {
    SHInitExtraControls();
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    const RECT screen = devemu::PhoneScreen();
    EXPECT_EQ(work.top, screen.top + devemu::kNavBarHeight);
    EXPECT_EQ(work.bottom, screen.bottom);
    EXPECT_EQ(work.right - work.left, screen.right - screen.left);
}

// A message box of a program of the phone fits the phone's screen: one the desktop would make
// wider is given the screen's width, its whole text wrapped inside, its buttons below it; a short
// one stays as the desktop makes it.
TEST(PhoneMessageBox, FitsTheScreenWithItsWholeTextAndButtons) {
    const struct {
        const wchar_t* text;
        UINT type;
        const wchar_t* answer;
        int result;
    } boxes[] = {
        {L"Changing Transcriber compatibility mode requires you to soft reset your device.\nSoft reset now?",
         MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST, L"cancel", IDCANCEL},
        {L"Reset gesture to default?", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST, L"yes", IDYES},
    };
    const RECT screen = devemu::PhoneScreen();
    for (const auto& b : boxes) {
        SCOPED_TRACE(test::Narrow(b.text));
        int result = 0;
        std::thread asking([&] { result = MessageBoxW(nullptr, b.text, L"Phone box", b.type); });
        HWND box = nullptr;
        const bool up = test::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Phone box")) && IsWindowVisible(box); });
        EXPECT_TRUE(up) << "no box came";
        RECT frame{}, inside{}, all{};
        GetWindowRect(box, &frame);
        EXPECT_TRUE(IntersectRect(&inside, &frame, &screen) && EqualRect(&inside, &frame)) << "off the screen";
        const HWND text = GetDlgItem(box, 0xFFFF);
        RECT shown{};
        GetWindowRect(text, &shown);
        EXPECT_TRUE(IntersectRect(&inside, &shown, &frame) && EqualRect(&inside, &shown)) << "the text beyond the box";
        // Its whole text, wrapped in its width, in its height.
        {
            HDC dc = GetDC(text);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
            RECT needed{0, 0, shown.right - shown.left, 0};
            DrawTextW(dc, b.text, -1, &needed, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(text, dc);
            EXPECT_LE(needed.bottom, shown.bottom - shown.top) << "the text cut";
        }
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[16] = L"";
            GetClassNameW(child, kind, 16);
            if (!IsWindowVisible(child) || lstrcmpiW(kind, L"Button") != 0) continue;
            RECT button{};
            GetWindowRect(child, &button);
            EXPECT_TRUE(IntersectRect(&inside, &button, &frame) && EqualRect(&inside, &button)) << "a button beyond";
            EXPECT_GE(button.top, shown.bottom) << "a button over the text";
            UnionRect(&all, &all, &button);
        }
        EXPECT_FALSE(IsRectEmpty(&all)) << "no buttons";
        EXPECT_EQ(test::Devemu({L"dialog", L"answer", b.answer}).code, 0);
        asking.join();  // the box answered, or none came
        EXPECT_EQ(result, b.result);
    }
}

class GuardedScreen : public PhoneShellTest {
protected:
    void SetUp() override {
        PhoneShellTest::SetUp();
        window = std::make_unique<uitest::TestWindow>([this](uitest::TestWindow& w) {
            w.AddMenuBar();
            box = &w.Own(std::make_unique<CheckBox>());
            box->Create(w.Window(), L"Tap me", 8, 100, 260, 40);
            w.Own(std::make_unique<CheckBox>()).Create(w.Window(), L"Far below", 8, 1500, 260, 40);
            edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 8, 200, 200, 40, w.Window(),
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        });
        window->Open();
        window->menuBar->commandCallback.Set(Bind(this, &GuardedScreen::OnSoftKey));
        SetFocus(edit);
        touch.reset(LoadLibraryW(kTouchLibrary));
        ASSERT_TRUE(touch.valid());
        const auto registerWindow = reinterpret_cast<TouchWindowEntry>(
            reinterpret_cast<void (*)()>(GetProcAddressW(touch.get(), kTouchRegisterWindow)));
        WNDCLASSW word{};
        word.lpfnWndProc = DefWindowProcW;
        word.cbWndExtra = sizeof(LONG);
        word.hInstance = GetModuleHandleW(nullptr);
        word.lpszClassName = L"PhoneShellTest|Touch";
        RegisterClassW(&word);
        touchWindow = CreateWindowExW(0, word.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, word.hInstance, nullptr);
        registerWindow(touchWindow);
        uitest::PumpFor(300);
    }
    void TearDown() override {
        DestroyWindow(touchWindow);
        window.reset();
        PhoneShellTest::TearDown();
    }

    INT_PTR OnSoftKey(LPARAM args) {
        commands.push_back(LOWORD(ArgsAt(args).wParam));
        return 0;
    }
    void PanelWord(LONG word) { SetWindowLongW(touchWindow, 0, word); }
    std::wstring Typed() const {
        wchar_t text[32] = L"";
        GetWindowTextW(edit, text, 32);
        return text;
    }
    POINT BoxCentre() const {
        RECT rect{};
        GetWindowRect(box->Window(), &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    std::unique_ptr<uitest::TestWindow> window;
    CheckBox* box = nullptr;
    HWND edit = nullptr;
    HWND touchWindow = nullptr;
    Module touch;
    std::vector<WORD> commands;
};

TEST_F(GuardedScreen, TapsAndKeysReachTheWindowUnlessLockedAndF1F2PressTheSoftKeys) {
    const POINT at = BoxCentre();
    const std::wstring x = std::to_wstring(at.x), y = std::to_wstring(at.y);
    const std::string tapSwallowed = "tap swallowed x=" + test::Narrow(x) + " y=" + test::Narrow(y);
    enum Lock { kFree, kPanelWord, kInputLock };
    const struct {
        Lock lock;
        std::vector<std::wstring> press;
        const char* expected;   // what reached the window: "checked", "typed", a soft key's command, "nothing"
        std::string logged;     // the guard's line, "" for none
    } cases[] = {
        {kFree, {L"tap", x, y}, "checked", ""},
        {kPanelWord, {L"tap", x, y}, "nothing", tapSwallowed},
        {kInputLock, {L"tap", x, y}, "nothing", tapSwallowed},
        {kFree, {L"key", L"0x41"}, "typed", ""},
        {kPanelWord, {L"key", L"0x41"}, "typed", ""},  // the panel alone leaves the keys free
        {kInputLock, {L"key", L"0x41"}, "nothing", "key swallowed vk=0x41"},
        {kFree, {L"key", L"left-soft"}, "40000", ""},
        {kFree, {L"key", L"right-soft"}, "40001", ""},
        {kPanelWord, {L"key", L"f2"}, "40001", ""},
        {kInputLock, {L"key", L"f1"}, "nothing", "key swallowed vk=0x70"},
    };
    for (const auto& c : cases) {
        const std::string what = test::Narrow(c.press[0] + L" " + c.press[1]) + " with lock " + std::to_string(c.lock);
        SCOPED_TRACE(what);
        box->SetChecked(false);
        SetWindowTextW(edit, L"");
        SetFocus(edit);  // a tap on the box took it
        commands.clear();
        PanelWord(c.lock == kPanelWord ? 1 : 2);
        InputLock(c.lock == kInputLock);
        const uint64_t since = test::LogCount();
        Play(c.press);
        const auto reached = [&]() -> std::string {
            if (box->IsChecked()) return "checked";
            if (!Typed().empty()) return "typed";
            if (!commands.empty()) return std::to_string(commands.front());
            return "nothing";
        };
        if (std::string(c.expected) == "nothing") {
            EXPECT_GE(test::WaitForLog(c.logged, since), 0);
            uitest::PumpFor(300);  // time enough for anything let through to arrive
        } else {
            uitest::PumpUntil([&] { return reached() != "nothing"; });
        }
        EXPECT_EQ(reached(), c.expected);
        EXPECT_EQ(test::Events(since, "swallowed"), c.logged.empty() ? std::vector<std::string>{}
                                                                     : std::vector<std::string>{c.logged});
    }
}

TEST_F(GuardedScreen, ASoftKeyShowsPressedWhileHeldAndActsWhenLetGo) {
    const HWND bar = window->menuBar->Window();
    RECT rect{};
    GetWindowRect(bar, &rect);
    const int middle = devemu::kSoftKeyBarHeight / 2;
    const auto colours = [&] {
        const test::ScreenPixels shot = test::CaptureScreen(rect);
        return std::pair{shot.At(4, middle), shot.At(shot.width - 4, middle)};
    };
    const COLORREF up = devemu::BarColour(middle, devemu::kSoftKeyBarHeight, false);
    const COLORREF down = devemu::BarColour(middle, devemu::kSoftKeyBarHeight, true);
    EXPECT_EQ(colours(), std::pair(up, up));
    for (auto [key, command, shown] : {std::tuple{0, 40000, std::pair(down, up)}, {1, 40001, std::pair(up, down)}}) {
        commands.clear();
        SendMessageW(bar, devemu::kPressSoftKey, key, 1);
        uitest::Pump();
        EXPECT_EQ(colours(), shown) << "key " << key << " held";
        EXPECT_THAT(commands, testing::IsEmpty()) << "nothing happens before the key is let go";
        SendMessageW(bar, devemu::kPressSoftKey, key, 0);
        uitest::Pump();
        EXPECT_EQ(colours(), std::pair(up, up));
        EXPECT_THAT(commands, testing::ElementsAre(command));
    }
}

TEST_F(GuardedScreen, TapRefusesAControlOffTheScreenAndScreenshotsArePngsOfThePhonesScreen) {
    uint64_t since = test::LogCount();
    const test::ConsoleResult offScreen = test::Devemu({L"tap", L"--text", L"Far below"});
    EXPECT_EQ(offScreen.code, 1);
    EXPECT_THAT(offScreen.err, test::Matches("devemu: \"Far below\" lies off the visible screen \\(its centre at [0-9]+,[0-9]+\\)\n"));
    EXPECT_EQ(test::LogCount(), since) << "a refused tap is no tap";

    const std::wstring path = test::BinDir() + L"\\..\\artifacts\\shell-screen.png";
    CreateDirectoryW((test::BinDir() + L"\\..\\artifacts").c_str(), nullptr);
    const test::ConsoleResult shot = test::Devemu({L"screenshot", path, L"--screen"});
    ASSERT_EQ(shot.code, 0) << shot.err;
    EXPECT_EQ(shot.out, "screenshot " + test::Narrow(path) + " 480x800\n");
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 24u);
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                 0, 0, 0x01, 0xE0, 0, 0, 0x03, 0x20};  // 480 x 800
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 24), std::vector<uint8_t>(std::begin(signature), std::end(signature)));
    EXPECT_LT(bytes.size(), 480u * 800 * 3 / 4) << "compressed";

    const std::wstring nowhere = test::BinDir() + L"\\no such folder\\shot.png";
    const test::ConsoleResult refused = test::Devemu({L"screenshot", nowhere});
    EXPECT_EQ(refused.code, 1);
    EXPECT_THAT(refused.err, testing::StartsWith("devemu: cannot write "));
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(GuardedScreen, TheDeviceWindowTakesTapsWhileThePhoneIsLocked) {
    devemu::DeviceWindow device;
    ASSERT_NE(device.Window(), nullptr);
    SetForegroundWindow(device.Window());
    uitest::PumpFor(300);
    InputLock(true);
    RECT ring{};
    GetWindowRect(GetDlgItem(device.Window(), devemu::DeviceWindow::kRing), &ring);
    const uint64_t since = test::LogCount();
    Play({L"tap", std::to_wstring((ring.left + ring.right) / 2), std::to_wstring((ring.top + ring.bottom) / 2)});
    EXPECT_TRUE(uitest::PumpUntil([&] { return test::FindLog("console call incoming", since) >= 0; }));
    EXPECT_EQ(test::FindLog("swallowed", since), -1);
    // Its keys, too: the phone's lock is not the keyboard's of the hand that holds it.
    Play({L"key", L"0x41"});
    uitest::PumpFor(300);
    EXPECT_EQ(test::FindLog("swallowed", since), -1);
}

}  // namespace
