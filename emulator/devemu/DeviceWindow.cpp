#include "DeviceWindow.h"

#include "Command.h"
#include "Dc.h"
#include "Device.h"
#include "PhoneScreen.h"
#include "ShellLook.h"
#include "ce/Power.h"
#include "ui/Gdi.h"

namespace devemu {
namespace {

constexpr wchar_t kWindowClass[] = L"devemu|DeviceWindow";
constexpr wchar_t kTitle[] = L"Phone device";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 40;     // what the device shows is on the window within a tenth of a second
constexpr DWORD kBlinkMs = 250;     // the vibration LED's half period
constexpr uint64_t kLogShown = 4;

constexpr int kClientWidth = 468, kClientHeight = 732;
constexpr int kMargin = 12, kGap = 8, kRow = 44, kHeader = 26, kLine = 26, kLogLine = 23;
constexpr int kDialSize = 170;
constexpr int kColumn = kMargin + kDialSize + 2 * kGap;  // right of the dial
constexpr int kHalf = (kClientWidth - 2 * kMargin - kGap) / 2, kThird = (kClientWidth - 2 * kMargin - 2 * kGap) / 3;
constexpr int kSide = (kClientWidth - kMargin - kColumn - kGap) / 2;  // a button beside the dial
constexpr COLORREF kInk = RGB(30, 30, 30), kHeaderInk = RGB(92, 108, 138), kGrey = RGB(150, 150, 150);
constexpr COLORREF kLocked = RGB(210, 50, 40), kFree = RGB(60, 170, 60), kLedOn = RGB(60, 220, 90);

struct Section {
    const wchar_t* title;
    int y;
};
constexpr Section kSections[] = {{L"Power", 4},   {L"Charger and stylus", 82}, {L"Calls", 160},
                                 {L"Sensor", 238}, {L"The phone", 444},         {L"Device log", 582}};
constexpr int kStateTop = 472, kLogTop = 610, kOutcomeTop = 704, kDialTop = 266, kSensorText = 414;

struct Place {
    DeviceWindow::Control id;
    int x, y, width;
};
constexpr Place kPlaces[] = {
    {DeviceWindow::kPower, kMargin, 32, kHalf},
    {DeviceWindow::kScreenOff, kMargin + kHalf + kGap, 32, kHalf},
    {DeviceWindow::kCharger, kMargin, 110, kHalf},
    {DeviceWindow::kStylus, kMargin + kHalf + kGap, 110, kHalf},
    {DeviceWindow::kRing, kMargin, 188, kThird},
    {DeviceWindow::kAnswer, kMargin + kThird + kGap, 188, kThird},
    {DeviceWindow::kHangUp, kMargin + 2 * (kThird + kGap), 188, kThird},
    {DeviceWindow::kFaceUp, kColumn, kDialTop, kSide},
    {DeviceWindow::kUpright, kColumn + kSide + kGap, kDialTop, kSide},
    {DeviceWindow::kTurnRight, kColumn, kDialTop + 50, kSide},
    {DeviceWindow::kTurnLeft, kColumn + kSide + kGap, kDialTop + 50, kSide},
    {DeviceWindow::kSensor, kColumn, kDialTop + 100, 2 * kSide + kGap},
};

// The call as a person says it.
std::wstring CallWords(const std::string& call) {
    if (call.rfind("offering", 0) == 0) return L"ringing";
    if (call.rfind("connected", 0) == 0) return L"talking";
    return L"none";
}

// A label that says what a press does now.
const wchar_t* LabelOf(DeviceWindow::Control control, const DeviceWindow::Shown& s) {
    switch (control) {
    case DeviceWindow::kPower: return s.asleep ? L"Wake" : L"Suspend";
    case DeviceWindow::kScreenOff: return L"Screen off";
    case DeviceWindow::kCharger: return s.charging ? L"Unplug charger" : L"Plug in charger";
    case DeviceWindow::kStylus: return s.stylusOut ? L"Put stylus back" : L"Pull stylus out";
    case DeviceWindow::kRing: return L"Ring";
    case DeviceWindow::kAnswer: return L"Answer";
    case DeviceWindow::kHangUp: return L"Hang up";
    case DeviceWindow::kFaceUp: return L"Face up";
    case DeviceWindow::kUpright: return L"Upright";
    case DeviceWindow::kTurnRight: return L"Turn right";
    case DeviceWindow::kTurnLeft: return L"Turn left";
    case DeviceWindow::kSensor: return s.sensorOk ? L"Make the sensor fail" : L"Mend the sensor";
    }
    return L"";
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

void Text(HDC dc, const std::wstring& text, int x, int y, int width, int height, COLORREF colour) {
    TextStyle ink(dc, colour);
    RECT area{x, y, x + width, y + height};
    DrawTextW(dc, text.c_str(), -1, &area, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void Dot(HDC dc, int x, int y, int size, COLORREF colour) {
    ShapeStyle style(dc, colour == kGrey ? kGrey : RGB(60, 60, 60), colour);
    Ellipse(dc, x, y, x + size, y + size);
}

}  // namespace

DeviceWindow::Shown ReadDevice(uint64_t logLines) {
    DeviceWindow::Shown s;
    Device& device = Device::Get();
    uint64_t count = 0;
    TouchState touch{};
    device.Locked([&](DeviceState& d) {
        s.asleep = (d.power.flags & POWER_STATE_ON) == 0;
        s.power = Utf8(d.power.name);
        s.charging = d.power.acLine == AC_LINE_ONLINE;
        s.call = CallState(d);
        s.keysLocked = d.input.locked;
        touch = d.touch;
        s.vibrating = d.leds.count > 0 && ((d.leds.on >> (d.leds.count - 1)) & 1) != 0;
        s.beeps = d.beeps;
        s.rotation = d.sensor.rotation;
        s.tilt = d.sensor.tilt;
        s.sensorOk = d.sensor.health == SENSOR_OK;
        count = d.logCount;
    });
    s.panel = PanelState(touch);  // outside the lock: the word is read from the program's window
    s.stylusOut = StylusState() == "out";
    s.ledLit = s.vibrating && (HostTick() / kBlinkMs) % 2 == 0;
    for (std::string& line : device.LogLines(count > logLines ? count - logLines : 0, nullptr)) {
        s.log.push_back(std::move(line));
    }
    return s;
}

DeviceWindow::DeviceWindow()
    : font_(CreateShellFont(8, false)), boldFont_(CreateShellFont(9, true)), smallFont_(CreateShellFont(7, false)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);

    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    // Beside the phone's screen where the monitor has room, else at its corner.
    const RECT phone = PhoneScreen();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const bool room = monitor.rcWork.right - phone.right >= width + kGap;
    const int x = room ? phone.right + 2 * kGap : monitor.rcWork.left;
    window_ = CreateWindowExW(0, kWindowClass, kTitle, kStyle, x, monitor.rcWork.top, width, height, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (const Place& place : kPlaces) {
        HWND button = CreateWindowExW(0, L"BUTTON", LabelOf(place.id, shown_), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      place.x, place.y, place.width, kRow, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
                                      windowClass.hInstance, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    dial_.Create(window_, kMargin, kDialTop, kDialSize);
    dial_.turned = [this](int degrees) {
        worker_.Run({L"tilt", std::to_wstring(degrees), std::to_wstring(shown_.tilt)});
    };
    Refresh();
    SetTimer(window_, kRefreshTimer, kRefreshMs, nullptr);
    ShowWindow(window_, SW_SHOWNORMAL);
}

DeviceWindow::~DeviceWindow() {
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);  // a late message finds no object
    DestroyWindow(window_);
}

Args DeviceWindow::CommandOf(Control control) const {
    const std::wstring rotation = std::to_wstring(shown_.rotation);
    switch (control) {
    case kPower: return {L"power", shown_.asleep ? L"resume" : L"suspend"};
    case kScreenOff: return {L"power", L"screen-off"};
    case kCharger: return {L"ac", shown_.charging ? L"offline" : L"online"};
    case kStylus: return {L"stylus", shown_.stylusOut ? L"in" : L"out"};
    case kRing: return {L"call", L"incoming"};
    case kAnswer: return {L"call", L"connect"};
    case kHangUp: return {L"call", L"disconnect"};
    case kFaceUp: return {L"tilt", rotation, L"0"};
    case kUpright: return {L"tilt", rotation, L"90"};
    case kTurnRight: return {L"turn", L"90", L"90", L"90", L"45"};
    case kTurnLeft: return {L"turn", L"-90", L"-90", L"-90", L"-45"};
    case kSensor: return {L"sensor", shown_.sensorOk ? L"fail-read" : L"ok"};
    }
    return {};
}

void DeviceWindow::Refresh() {
    Shown now = ReadDevice(kLogShown);
    now.outcome = worker_.LastOutcome();
    if (now == shown_) return;
    shown_ = std::move(now);
    Relabel();
    dial_.Show(shown_.rotation);
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void DeviceWindow::Relabel() {
    for (const Place& place : kPlaces) {
        HWND button = GetDlgItem(window_, place.id);
        wchar_t now[64] = L"";
        GetWindowTextW(button, now, 64);
        if (std::wstring(now) != LabelOf(place.id, shown_)) SetWindowTextW(button, LabelOf(place.id, shown_));
    }
}

void DeviceWindow::Paint(HDC dc, const RECT& client) const {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        Selection bold(dc, boldFont_.get());
        for (const Section& section : kSections) {
            Text(dc, section.title, kMargin, section.y, kClientWidth - 2 * kMargin, kHeader, kHeaderInk);
            GdiObject brush(CreateSolidBrush(RGB(200, 208, 220)));
            const RECT rule{kMargin, section.y + kHeader, kClientWidth - kMargin, section.y + kHeader + 1};
            FillRect(dc, &rule, static_cast<HBRUSH>(brush.get()));
        }
    }
    Selection normal(dc, font_.get());
    Text(dc, L"Tilt " + std::to_wstring(shown_.tilt) + L"\u00B0, sensor " + (shown_.sensorOk ? L"works" : L"fails"),
         kColumn, kSensorText, 2 * kSide + kGap, kLine, kInk);

    // Left: the locks and the vibration LED, each with its light; right: what the phone is doing.
    const int dot = 18, textX = kMargin + dot + kGap, right = kClientWidth / 2 + kGap;
    const int rows[] = {kStateTop, kStateTop + kLine, kStateTop + 2 * kLine, kStateTop + 3 * kLine};
    Dot(dc, kMargin, rows[0] + 4, dot, shown_.ledLit ? kLedOn : kGrey);
    Text(dc, shown_.vibrating ? L"Vibrating" : L"Not vibrating", textX, rows[0], right - textX, kLine, kInk);
    Dot(dc, kMargin, rows[1] + 4, dot, shown_.keysLocked ? kLocked : kFree);
    Text(dc, shown_.keysLocked ? L"Keys locked" : L"Keys free", textX, rows[1], right - textX, kLine, kInk);
    const bool panelLocked = shown_.panel == "locked" || shown_.keysLocked;
    Dot(dc, kMargin, rows[2] + 4, dot, panelLocked ? kLocked : kFree);
    Text(dc, panelLocked ? L"Panel locked" : L"Panel free", textX, rows[2], right - textX, kLine, kInk);
    Text(dc, L"Beeps: " + std::to_wstring(shown_.beeps), textX, rows[3], right - textX, kLine, kInk);
    const int width = kClientWidth - kMargin - right;
    Text(dc, L"Power: " + Wide(shown_.power), right, rows[0], width, kLine, kInk);
    Text(dc, shown_.charging ? L"Charger: plugged in" : L"Charger: on battery", right, rows[1], width, kLine, kInk);
    Text(dc, shown_.stylusOut ? L"Stylus: out" : L"Stylus: in", right, rows[2], width, kLine, kInk);
    const std::wstring call = CallWords(shown_.call);
    Text(dc, L"Call: " + call, right, rows[3], width, kLine, call == L"ringing" ? kLocked : kInk);

    Selection small(dc, smallFont_.get());
    for (size_t i = 0; i < shown_.log.size(); ++i) {
        Text(dc, Wide(shown_.log[i]), kMargin, kLogTop + static_cast<int>(i) * kLogLine, kClientWidth - 2 * kMargin,
             kLogLine, kInk);
    }
    const bool failed = shown_.outcome.find(": ") != std::string::npos;
    Text(dc, Wide(shown_.outcome), kMargin, kOutcomeTop, kClientWidth - 2 * kMargin, kLogLine,
         failed ? kLocked : kGrey);
}

LRESULT CALLBACK DeviceWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DeviceWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= kPower && LOWORD(wParam) <= kSensor) {
            self->worker_.Run(self->CommandOf(static_cast<Control>(LOWORD(wParam))));
        }
        return 0;
    case WM_TIMER:
        self->Refresh();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintBuffered(window, [self](HDC dc, const RECT& client) { self->Paint(dc, client); });  // live state never flickers
        return 0;
    case WM_DESTROY:
        self->window_ = nullptr;
        if (self->quitOnClose) PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace devemu
