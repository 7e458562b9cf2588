// The device window: the phone in the user's hand beside its screen. Every control runs the device
// console's own command, so what the window does is what the console does; the window shows the
// device's state as it changes (locks, the vibration LED, beeps, the last log lines).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "CommandWorker.h"
#include "Console.h"
#include "RotationDial.h"
#include "ce/Handle.h"

namespace devemu {

class DeviceWindow {
public:
    // The controls, by their identifiers.
    enum Control : int {
        kPower = 101,  // wakes a phone that sleeps, else suspends it
        kScreenOff,
        kCharger,      // plugs the charger in, or pulls it out
        kStylus,       // pulls the stylus out, or puts it back
        kRing,
        kAnswer,
        kHangUp,
        kFaceUp,
        kUpright,
        kTurnRight,    // a full turn at a human rate, as the unlock gesture has it
        kTurnLeft,
        kSensor,       // makes the sensor fail, or work again
    };

    // What the window shows; it repaints when this changes.
    struct Shown {
        bool asleep = false;
        std::string power;
        bool charging = false;
        bool stylusOut = false;
        std::string call;
        bool keysLocked = false;
        std::string panel;
        bool vibrating = false;
        bool ledLit = false;  // the blinking LED's phase
        uint32_t beeps = 0;
        int rotation = 0;
        uint32_t tilt = 0;
        bool sensorOk = true;
        std::vector<std::string> log;
        std::string outcome;
        bool operator==(const Shown&) const = default;
    };

    DeviceWindow();
    ~DeviceWindow();
    DeviceWindow(const DeviceWindow&) = delete;
    DeviceWindow& operator=(const DeviceWindow&) = delete;

    HWND Window() const { return window_; }
    RotationDial& Dial() { return dial_; }
    // No command waiting or under way.
    bool Idle() const { return worker_.Idle(); }
    // The console command that `control` runs now, as the window's state has it.
    Args CommandOf(Control control) const;
    // Reads the device; repaints and relabels what changed.
    void Refresh();

    bool quitOnClose = false;  // the window is the whole program: its end ends the message loop

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, const RECT& client) const;
    void Relabel();

    HWND window_ = nullptr;
    GdiObject font_, boldFont_, smallFont_;
    RotationDial dial_;
    Shown shown_;
    CommandWorker worker_;  // last: it stops before what its commands report to goes
};

// Reads what the window shows from the device.
DeviceWindow::Shown ReadDevice(uint64_t logLines);

}  // namespace devemu
