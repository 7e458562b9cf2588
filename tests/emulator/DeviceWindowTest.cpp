// The device window: each control does what its console command does, on a fresh device each
// time; the dial turns the phone; the live state shows the locks and the blinking vibration LED.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "DeviceWindow.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "ce/Kernel.h"

namespace {

using devemu::DeviceWindow;
using Commands = std::vector<std::vector<std::wstring>>;

constexpr COLORREF kLedOn = RGB(60, 220, 90), kLockedLight = RGB(210, 50, 40);

// The device as the commands leave it: its log lines and its state but the clock.
struct Outcome {
    std::vector<std::string> events;
    std::string state;
};

Outcome After(const Commands& before, const std::function<void()>& act) {
    test::Play({L"reset"});
    test::PlayAll(before);
    const uint64_t since = test::LogCount();
    act();
    const std::string state = test::Devemu({L"state"}).out;
    return {test::Events(since), state.substr(state.find('\n'))};
}

class DeviceWindowTest : public testing::Test {
protected:
    void SetUp() override {
        test::Play({L"reset"});
        device = std::make_unique<DeviceWindow>();
        ASSERT_NE(device->Window(), nullptr);
        uitest::Pump();
    }
    void TearDown() override {
        device.reset();
        InputLock(false);
        test::Play({L"reset"});
    }

    // Pumps until the window's commands are done and it has shown their effect.
    void Settle() {
        EXPECT_TRUE(uitest::PumpUntil([&] { return device->Idle(); }, 30000));
        uitest::PumpFor(100);
    }
    static void InputLock(bool on) {
        InputLockRequest request{0, on ? 0u : 1u};
        DWORD returned = 0;
        KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
    }
    int Lit(COLORREF colour) {
        RedrawWindow(device->Window(), nullptr, nullptr, RDW_UPDATENOW);
        return uitest::Capture(device->Window())->Count(colour);
    }
    void Save(const wchar_t* name) {
        const std::wstring artifacts = test::BinDir() + L"\\..\\artifacts";
        CreateDirectoryW(artifacts.c_str(), nullptr);
        uitest::PumpFor(150);
        const auto made = test::Devemu({L"screenshot", artifacts + L"\\" + name, L"--window", L"Phone device"});
        EXPECT_EQ(made.code, 0) << made.err;
    }

    std::unique_ptr<DeviceWindow> device;
};

TEST_F(DeviceWindowTest, EachControlLeavesTheDeviceAsItsConsoleCommandDoes) {
    const struct {
        DeviceWindow::Control control;
        Commands before;
        std::vector<std::wstring> console;
    } cases[] = {
        {DeviceWindow::kPower, {}, {L"power", L"suspend"}},
        {DeviceWindow::kPower, {{L"power", L"suspend"}}, {L"power", L"resume"}},
        {DeviceWindow::kPower, {{L"power", L"screen-off"}}, {L"power", L"resume"}},
        {DeviceWindow::kScreenOff, {}, {L"power", L"screen-off"}},
        {DeviceWindow::kCharger, {}, {L"ac", L"online"}},
        {DeviceWindow::kCharger, {{L"ac", L"online"}}, {L"ac", L"offline"}},
        {DeviceWindow::kStylus, {}, {L"stylus", L"out"}},
        {DeviceWindow::kStylus, {{L"stylus", L"out"}}, {L"stylus", L"in"}},
        {DeviceWindow::kRing, {}, {L"call", L"incoming"}},
        {DeviceWindow::kAnswer, {{L"call", L"incoming"}}, {L"call", L"connect"}},
        {DeviceWindow::kHangUp, {{L"call", L"incoming"}}, {L"call", L"disconnect"}},
        {DeviceWindow::kFaceUp, {{L"tilt", L"120", L"90"}}, {L"tilt", L"120", L"0"}},
        {DeviceWindow::kUpright, {{L"tilt", L"120"}}, {L"tilt", L"120", L"90"}},
        {DeviceWindow::kTurnRight, {}, {L"turn", L"90", L"90", L"90", L"45"}},
        {DeviceWindow::kTurnLeft, {}, {L"turn", L"-90", L"-90", L"-90", L"-45"}},
        {DeviceWindow::kSensor, {}, {L"sensor", L"fail-read"}},
        {DeviceWindow::kSensor, {{L"sensor", L"fail-read"}}, {L"sensor", L"ok"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(test::Narrow(c.console[0] + L" " + c.console[1]));
        const Outcome clicked = After(c.before, [&] {
            uitest::PumpFor(100);  // the window sees the state the commands before left
            SendMessageW(GetDlgItem(device->Window(), c.control), BM_CLICK, 0, 0);
            Settle();
        });
        const Outcome console = After(c.before, [&] { test::Play(c.console); });
        ASSERT_FALSE(console.events.empty());
        EXPECT_EQ(clicked.events, console.events);
        EXPECT_EQ(clicked.state, console.state);
    }
}

TEST_F(DeviceWindowTest, DraggingTheDialTurnsThePhoneToWherePointerIsLetGo) {
    const HWND dial = device->Dial().Window();
    RECT rect{};
    GetClientRect(dial, &rect);
    const int size = rect.right, mid = size / 2;
    const Outcome dragged = After({{L"tilt", L"0", L"90"}}, [&] {
        uitest::PumpFor(100);
        SendMessageW(dial, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid, 4));            // up: 0
        SendMessageW(dial, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(size - 4, mid));       // right: 90
        SendMessageW(dial, WM_LBUTTONUP, 0, MAKELPARAM(mid, size - 4));                // down: 180
        Settle();
    });
    EXPECT_THAT(dragged.events, testing::ElementsAre("console tilt 0 90", "console tilt 180 90"))
        << "the move came within the throttle: only the first point and the last";
    EXPECT_EQ(test::StateValue("rotation"), "180");
    EXPECT_EQ(DeviceWindowTest::device->CommandOf(DeviceWindow::kFaceUp), (devemu::Args{L"tilt", L"180", L"0"}));
}

TEST_F(DeviceWindowTest, ShowsTheLocksAndBlinksWhileVibratingAndIsSavedInEachState) {
    const auto settle = [&] { uitest::PumpFor(200); };
    settle();
    EXPECT_EQ(Lit(kLockedLight), 0);
    Save(L"device-unlocked.png");
    InputLock(true);
    settle();
    EXPECT_GT(Lit(kLockedLight), 0) << "keys and panel shown locked";
    Save(L"device-locked.png");
    InputLock(false);

    NLED_SETTINGS_INFO vibrate{};
    vibrate.LedNum = 1;  // the last of the fresh device's two: the motor
    vibrate.OffOnBlink = 1;
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &vibrate));
    bool on = false, off = false;
    EXPECT_TRUE(uitest::PumpUntil([&] {
        (Lit(kLedOn) > 0 ? on : off) = true;
        return on && off;
    })) << "the LED blinks: on " << on << ", off " << off;
    Save(L"device-vibrating.png");
    vibrate.OffOnBlink = 0;
    NLedSetDevice(NLED_SETTINGS_INFO_ID, &vibrate);

    test::Play({L"call", L"incoming"});
    settle();
    Save(L"device-ringing.png");
}

}  // namespace
