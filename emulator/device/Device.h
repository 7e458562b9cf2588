// The emulated phone's state: one block of shared memory that every emulated DLL and the
// device console open, so that all processes of a Wine prefix see the same device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace devemu {

constexpr uint32_t kLogCapacity = 16384;
constexpr size_t kLogTextSize = 244;

struct LogLine {
    uint32_t uptime;
    char text[kLogTextSize];
};

// Everything the device knows. Plain data only: it lives in a file mapping shared by processes.
// What the shell refuses, so that the program's failure paths can be shown.
struct ShellState {
    bool refuseAdd;      // notifications
    bool refuseRemove;
    bool refuseMenuBar;  // menu bars
};

// CE's limit for the name of a queue or of a power state, terminator included (MAX_PATH).
constexpr size_t kNameChars = 260;

// A message queue registered for power notifications. Only its name is kept, so that any
// process of the device can open the queue and write to it.
constexpr uint32_t kMaxPowerRegistrations = 8;

struct PowerRegistration {
    uint32_t id;     // 0: a free slot; else the registration handle's value
    uint32_t flags;  // the notification kinds asked for (PBT_*)
    wchar_t queue[kNameChars];
};

struct PowerState {
    uint32_t flags;                  // POWER_STATE_* of the current system power state
    wchar_t name[kNameChars];        // and its name
    uint8_t acLine;                  // AC_LINE_*
    uint32_t lastRegistration;
    PowerRegistration registrations[kMaxPowerRegistrations];
};

// Telephony: the line devices' behaviour, the line applications with their pending messages,
// and the recent calls on the radio's line.
enum class TapiMode : uint32_t {
    Ok,          // the line devices are there, the radio's named "Cellular Line"
    FailInit,    // initialisation fails
    NoCellular,  // the radio's line is named in other letter case, so no name matches exactly
};

constexpr uint32_t kMaxLineApps = 8;
constexpr uint32_t kLineMessageCapacity = 64;
constexpr uint32_t kCallHistory = 16;

struct LineMessage {
    uint32_t device;  // the call handle for call messages
    uint32_t id;
    uint32_t param1, param2, param3;
};

struct LineAppState {
    uint32_t handle;      // 0: a free slot
    uint32_t line;        // 0: no line open
    uint32_t lineDevice;
    uint32_t privileges;
    uint64_t callbackInstance;
    uint32_t head, count;  // pending messages, oldest at head
    LineMessage messages[kLineMessageCapacity];
};

struct CallRecord {
    uint32_t handle;  // 0: no call
    uint32_t bearerMode;
    uint32_t mediaMode;
    uint32_t origin;
    uint32_t state;   // the last call state sent, 0 before the first
};

struct TapiState {
    TapiMode mode;
    uint32_t lastHandle;  // line application, line and call handles come from one counter
    LineAppState apps[kMaxLineApps];
    uint32_t callCount;   // the current call is calls[(callCount - 1) % kCallHistory]
    CallRecord calls[kCallHistory];
};

// The OEM layer's input lock: keys and touch panel together.
struct InputLockState {
    bool locked;
};

// touch.dll: whether the loader finds it, and the window it withholds the stylus for.
struct TouchState {
    bool absent;
    uint64_t window;  // the registered window's handle; 0 when none
};

// The notification LEDs; the last one is the vibration motor.
constexpr uint32_t kMaxLeds = 32;
struct LedState {
    uint32_t count;
    uint32_t on;     // bit n: LED n is on
    uint32_t calls;  // every NLedSetDevice call, refused ones too
};

// Shell notifications in the tray. The icon's handle is the program's and no use to another
// process, so its pixels come along: what the navigation bar draws.
constexpr size_t kMaxNotifications = 8;
constexpr int kIconSide = 32;  // a notification icon at VGA density
struct Notification {
    bool used;
    GUID clsid;
    uint32_t id;
    uint32_t priority;
    uint32_t duration;
    uint32_t flags;
    uint64_t icon;
    uint32_t pixels[kIconSide * kIconSide];  // premultiplied BGRA rows, top first; all 0 without an icon
};

// The G-sensor and how well it works.
enum SensorHealth : uint8_t {
    SENSOR_OK = 0,
    SENSOR_FAIL_OPEN = 1,  // every open returns 0
    SENSOR_FAIL_READ = 2,  // opens succeed, every read returns 0
};
// As the console names them, in the order of the values.
constexpr const char* kSensorHealthNames[] = {"ok", "fail-open", "fail-read"};

struct SensorState {
    int32_t rotation;  // degrees 0..359, 0 face up
    uint32_t tilt;     // degrees 0..359, near 90 or 270 upright
    uint8_t health;    // SensorHealth
    uint32_t reads;    // successful reads; counted, not logged, as they come several times a second
    uint32_t opens;    // successful opens; the n-th gets the handle n
};

// Moments a bench times, each stamped with the performance counter by the emulated service in
// the program's own process and announced with an event of the device, so that a bench waits on
// the event rather than polling the log under the lock the timed path needs.
enum BenchMoment : uint32_t {
    kInputLockRequest,   // KernelIoControl(IOCTL_INPUT_LOCK), on entry
    kPowerRegistration,  // RequestPowerNotifications, on entry
    kBenchMoments,
};

// Each emulated service keeps its block here; SetDefaults gives the values of a fresh device.
struct DeviceState {
    uint32_t layout;       // stamp of this layout; a mismatch makes the opener start afresh
    uint32_t clockOffset;  // device uptime = host tick + offset, modulo 2^32
    uint32_t clockHeld;    // nonzero: the clock stands still at heldUptime
    uint32_t heldUptime;
    uint32_t beeps;
    uint32_t reboots;
    ShellState shell;
    PowerState power;
    TapiState tapi;
    InputLockState input;
    TouchState touch;
    LedState leds;
    Notification notifications[kMaxNotifications];
    SensorState sensor;
    int64_t moments[kBenchMoments];  // the last stamp of each BenchMoment, written without the lock

    uint64_t logCount;     // lines written since the last reset; line n sits at n % kLogCapacity
    LogLine log[kLogCapacity];
};

// The state of a fresh device: empty log, clock offset 0, every service at its default (the
// sensor healthy, the phone face up and flat).
void SetDefaults(DeviceState& state);

// Name of the shared device: DEVEMU_NAME, or the default phone.
std::wstring DeviceName();

// The name of one of the device's kernel objects. The device's named objects are its own, so
// parallel tests with devices of their own can use the same queue names.
std::wstring ObjectName(const std::wstring& what);

// One process's view of the device. Opened on first use, kept for the life of the process.
class Device {
public:
    static Device& Get();

    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Runs f(state) without the lock and without setting up a fresh device, for code that must not
    // wait on it (a DllMain under the loader lock). f gets null when the device has never been set
    // up, which means a fresh device's defaults.
    template <class F>
    static auto PeekUnlocked(F&& f) {
        const DeviceState* state = MapForPeek();
        auto result = f(state);
        if (state) UnmapViewOfFile(state);
        return result;
    }

    // Runs f(state) while holding the device's lock.
    template <class F>
    auto Locked(F&& f) {
        Lock lock(mutex_);
        return f(*state_);
    }

    // The device clock in milliseconds (wraps at 2^32 like GetTickCount).
    uint32_t Uptime();
    // Stops the clock where it stands, or lets it run on from there.
    void HoldClock(bool hold);
    // Places the clock at `uptime`, or moves it by `delta`; a held clock stays held.
    void SetClock(uint32_t uptime);
    void AdvanceClock(uint32_t delta);

    // Appends one event line, "<text>", stamped with the current uptime.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Lines from `since` on (older lines that the ring has dropped are skipped); *next gets the
    // index that follows the last line returned.
    std::vector<std::string> LogLines(uint64_t since, uint64_t* next);
    uint64_t LogCount();

    // Back to a fresh device.
    void Reset();

    // Records `stamp` (a performance count the caller took at the moment) without the lock, then
    // sets the moment's event (auto-reset, ObjectName of "moment/<n>").
    void MarkMoment(BenchMoment moment, int64_t stamp);
    int64_t MomentStamp(BenchMoment moment);
    HANDLE MomentEvent(BenchMoment moment) const { return momentEvents_[moment]; }

private:
    Device();
    ~Device() = default;

    class Lock {
    public:
        explicit Lock(HANDLE mutex);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        HANDLE mutex_;
    };

    void AppendLocked(DeviceState& state, const char* text);
    static const DeviceState* MapForPeek();

    HANDLE mutex_ = nullptr;  // process lifetime, as the events: released by process exit
    HANDLE momentEvents_[kBenchMoments] = {};
    DeviceState* state_ = nullptr;
};

// The host's performance counter, as the benches and the services stamp moments with it.
int64_t PerformanceCount();

// Host tick that never goes through an emulated GetTickCount, whoever links this code.
uint32_t HostTick();

// UTF-16 to UTF-8, for log text.
std::string Utf8(const std::wstring& text);

}  // namespace devemu
