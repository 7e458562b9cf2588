// Reaction times of varnel.exe on a device of its own, with the performance counter at both
// ends: the bench reads it just before it acts (writes a resume into a power queue, writes the
// last position of a turn, starts a program); the emulated service in the program's own process
// reads it on entry (KernelIoControl, RequestPowerNotifications) and then sets the moment's
// event, on which the bench waits. Nothing of the bench touches the device meanwhile.
//   reaction_bench [<varnel.exe>]     (default: the varnel.exe beside this program)
// Prints its rows of scripts/bench's table: wake-up (Varnel and wake_floor.exe in turn), gesture
// (end of the unlock turn to the unlock request) and start-up (start to the power registration,
// Varnel and wake_floor.exe in turn).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include <windows.h>

#include "BenchTable.h"
#include "Console.h"
#include "Device.h"
#include "ce/Handle.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

namespace {

using devemu::BenchMoment;
using devemu::Device;
using devemu::PerformanceCount;

constexpr int kWarmUps = 5;      // rounds of each kind not counted: first icon, first page-ins
constexpr int kWakeUps = 300;    // each, Varnel and the floor in turn
constexpr int kGestures = 30;
constexpr int kStarts = 8;       // each, Varnel and the floor in turn
constexpr DWORD kTimeoutMs = 10000;
constexpr DWORD kSettleMs = 10;  // at least, after a screen-off, before the resume that is timed
constexpr DWORD kRestMs = 300;   // at least, face up and still for two gesture ticks before a turn
constexpr DWORD kTickMs = 142;   // Varnel's gesture tick
constexpr int32_t kTurnDegrees = 315;  // the default unlock gesture: 90, 90, 90, 45
constexpr int64_t kTurnRate = 720;     // degrees per second, a quick turn of the wrist
constexpr DWORD kMaxMessage = 534;     // the power monitor's

constexpr wchar_t kVarnelQueue[] = L"POWER_MSG_QUEUE";
constexpr wchar_t kFloorQueue[] = L"WAKE_FLOOR_QUEUE";
constexpr wchar_t kVarnelExitEvent[] = L"Varnel/Exit_Event";
constexpr wchar_t kFloorExitEvent[] = L"wake_floor/exit";

// A random part of each pause, so that what is timed falls anywhere in Varnel's gesture tick
// rather than where the bench's own rhythm would put it.
std::minstd_rand jitter(20240601);
DWORD Jitter(DWORD range) { return static_cast<DWORD>(jitter() % range); }

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "reaction_bench: %s\n", what);
    std::exit(1);
}

double Microseconds(int64_t counts) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counts) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Arms the moment's event: what the bench does next is what sets it.
void Expect(BenchMoment moment) { ResetEvent(Device::Get().MomentEvent(moment)); }

// The moment's stamp, once its event is set.
int64_t Await(BenchMoment moment, const char* what) {
    Device& device = Device::Get();
    if (WaitForSingleObject(device.MomentEvent(moment), kTimeoutMs) != WAIT_OBJECT_0) Fail(what);
    return device.MomentStamp(moment);
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

// A program of the bench, stopped through its named exit event.
class Program {
public:
    Program(std::wstring path, const wchar_t* exitEvent) : path_(std::move(path)), exitEvent_(exitEvent) {}
    ~Program() { Stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts it and returns the performance count read just before.
    int64_t Start() {
        std::wstring commandLine = L"\"" + path_ + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        const int64_t before = PerformanceCount();
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info)) {
            Fail("cannot start a program");
        }
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        return before;
    }

    void Stop() {
        if (!process_) return;
        KernelHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, exitEvent_));
        if (event) SetEvent(event.get());
        if (WaitForSingleObject(process_.get(), kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
        process_.reset();
    }

    // Started, registered for power notifications, and its loop given time to wait.
    void StartAndSettle() {
        Expect(devemu::kPowerRegistration);
        Start();
        Await(devemu::kPowerRegistration, "a program did not register for power notifications");
        Sleep(1000);
    }

private:
    std::wstring path_;
    const wchar_t* exitEvent_;
    KernelHandle process_;
};

// Varnel allows one instance per prefix: one left running (a demo's) is asked to go.
void StopInstances() {
    for (int i = 0; i < 200; ++i) {
        KernelHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, kVarnelExitEvent));
        if (!event) return;
        SetEvent(event.get());
        Sleep(50);
    }
    Fail("a running varnel.exe does not stop");
}

// The write end of a program's power queue, held as another process of the phone would.
class PowerQueue {
public:
    explicit PowerQueue(const wchar_t* name) {
        MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, kMaxMessage, FALSE};
        queue_.reset(CreateMsgQueue(name, &options));
        if (!queue_) Fail("cannot open a power queue");
    }

    // A transition as the power manager writes it, with the state's name.
    void Write(DWORD flags, const wchar_t* name) {
        alignas(POWER_BROADCAST) BYTE message[kMaxMessage] = {};
        const DWORD length = static_cast<DWORD>((std::wcslen(name) + 1) * sizeof(wchar_t));
        const DWORD header[3] = {PBT_TRANSITION, flags, length};
        std::memcpy(message, header, sizeof header);
        std::memcpy(message + kPowerBroadcastHeader, name, length);
        if (!WriteMsgQueue(queue_.get(), message, kPowerBroadcastHeader + length, 0, 0)) {
            Fail("cannot write into a power queue");
        }
    }
    void ScreenOff() { Write(POWER_STATE_IDLE, L"ScreenOff"); }
    void Resume() { Write(POWER_STATE_ON | POWER_STATE_BACKLIGHTON, L"On"); }

private:
    MsgQueueHandle queue_;
};

// Microseconds from the resume written into `queue` to the input-lock request; the program saw
// the screen go off first, so the resume is one to react to.
double WakeUp(PowerQueue& queue) {
    queue.ScreenOff();
    Sleep(kSettleMs + Jitter(kSettleMs));
    Expect(devemu::kInputLockRequest);
    const int64_t written = PerformanceCount();
    queue.Resume();
    const int64_t requested = Await(devemu::kInputLockRequest, "no input-lock request after a resume");
    if (requested < written) Fail("an input-lock request came before its resume");
    return Microseconds(requested - written);
}

void WakeUps(Program& varnel, Program& floor) {
    varnel.StartAndSettle();
    floor.StartAndSettle();
    PowerQueue varnelQueue(kVarnelQueue), floorQueue(kFloorQueue);
    std::vector<double> ofVarnel, ofFloor;
    for (int i = 0; i < kWarmUps + kWakeUps; ++i) {
        const double v = WakeUp(varnelQueue), f = WakeUp(floorQueue);
        if (i < kWarmUps) continue;
        ofVarnel.push_back(v);
        ofFloor.push_back(f);
    }
    floor.Stop();

    const Spread v = SpreadOf(ofVarnel), f = SpreadOf(ofFloor);
    char figure[128], how[512];
    std::snprintf(how, sizeof how,
                  "performance counter just before writing the resume into the program's power queue -> on "
                  "entry to the emulated KernelIoControl; %d wake-ups each, Varnel and floor in turn, a "
                  "screen-off %u-%u ms before each",
                  kWakeUps, static_cast<unsigned>(kSettleMs), static_cast<unsigned>(2 * kSettleMs));
    std::snprintf(figure, sizeof figure, "median %.0f us, p99 %.0f us", v.median, v.p99);
    Row("wake-up", "Varnel: resume -> input-lock request", figure, how);
    std::snprintf(figure, sizeof figure, "median %.0f us, p99 %.0f us", f.median, f.p99);
    Row("wake-up", "floor (bench/WakeFloor.cpp: waits on its queue, reads, sends the request)", figure,
        "the same, in the same run; a separate process at the lock controller's thread priority");
    std::snprintf(figure, sizeof figure, "%.2f at the median, %.2f at p99", v.median / f.median, v.p99 / f.p99);
    Row("wake-up", "ratio Varnel / floor", figure, "of the two rows above");
}

void SetRotation(int32_t rotation) {
    Device::Get().Locked([rotation](devemu::DeviceState& s) { s.sensor.rotation = rotation; });
}

// Turns the phone from face up by kTurnDegrees at kTurnRate, moving the rotation every few
// milliseconds along the clock as the console's turn does. Returns the performance count read
// just before the last position was written.
int64_t TurnFromFaceUp() {
    const int64_t start = PerformanceCount();
    for (;;) {
        const auto elapsedMs = static_cast<int64_t>(Microseconds(PerformanceCount() - start) / 1000);
        const auto position = static_cast<int32_t>(std::min<int64_t>(kTurnDegrees, elapsedMs * kTurnRate / 1000));
        if (position == kTurnDegrees) {
            const int64_t last = PerformanceCount();
            SetRotation(position);
            return last;
        }
        SetRotation(position);
        Sleep(5);
    }
}

void Gestures(Program& varnel) {
    PowerQueue queue(kVarnelQueue);
    std::vector<double> latencies;
    for (int i = 0; i < kGestures; ++i) {
        WakeUp(queue);  // locks the panel: the gesture unlocks it
        SetRotation(0);
        Sleep(kRestMs + Jitter(kTickMs));
        Expect(devemu::kInputLockRequest);
        const int64_t ended = TurnFromFaceUp();
        const int64_t requested = Await(devemu::kInputLockRequest, "no unlock request after the unlock gesture");
        if (requested < ended) Fail("the unlock request came before the end of the turn");
        latencies.push_back(Microseconds(requested - ended) / 1000);
    }
    varnel.Stop();

    const Spread g = SpreadOf(latencies);
    char figure[128], how[512];
    std::snprintf(figure, sizeof figure, "median %.1f ms, p99 %.1f ms", g.median, g.p99);
    std::snprintf(how, sizeof how,
                  "performance counter just before the turn's last position is written -> on entry to the "
                  "emulated KernelIoControl; %d unlock gestures (+%d degrees at %d degrees/s from face up, the "
                  "panel locked before each, started anywhere in the %u ms gesture tick, which bounds it)",
                  kGestures, static_cast<int>(kTurnDegrees), static_cast<int>(kTurnRate),
                  static_cast<unsigned>(kTickMs));
    Row("gesture", "end of the unlock turn -> unlock request", figure, how);
}

void StartUps(Program& varnel, Program& floor) {
    std::vector<double> ofVarnel, ofFloor;
    for (int i = 0; i < 1 + kStarts; ++i) {
        for (Program* program : {&varnel, &floor}) {
            Expect(devemu::kPowerRegistration);
            const int64_t started = program->Start();
            const int64_t registered = Await(devemu::kPowerRegistration, "a program did not register");
            program->Stop();
            if (i == 0) continue;  // the first start of each pages the files in
            (program == &varnel ? ofVarnel : ofFloor).push_back(Microseconds(registered - started) / 1000);
        }
    }
    const auto slowest = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    char figure[128], how[512];
    std::snprintf(how, sizeof how,
                  "performance counter just before CreateProcess -> on entry to the emulated "
                  "RequestPowerNotifications; %d starts each after one not counted, in turn, each stopped "
                  "through its exit event",
                  kStarts);
    std::snprintf(figure, sizeof figure, "median %.0f ms, slowest %.0f ms", SpreadOf(ofVarnel).median,
                  slowest(ofVarnel));
    Row("start-up", "Varnel: start -> power notifications registered", figure, how);
    std::snprintf(figure, sizeof figure, "median %.0f ms, slowest %.0f ms", SpreadOf(ofFloor).median,
                  slowest(ofFloor));
    Row("start-up", "empty Win32 program that only registers (wake_floor.exe)", figure,
        "the same, in the same run: Wine's process start and the emulated coredll's load");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 2) Fail("usage: reaction_bench [<varnel.exe>]");
    // A device of its own, which the programs inherit, unless told otherwise.
    if (GetEnvironmentVariableW(L"DEVEMU_NAME", nullptr, 0) == 0) {
        SetEnvironmentVariableW(L"DEVEMU_NAME", L"reaction_bench");
    }
    const std::wstring dir = BinDir();
    Program varnel(argc == 2 ? argv[1] : dir + L"\\varnel.exe", kVarnelExitEvent);
    Program floor(dir + L"\\wake_floor.exe", kFloorExitEvent);

    StopInstances();
    devemu::Io io;
    if (devemu::RunConsole({L"reset"}, io) != 0) Fail("cannot reset the device");
    // Default settings: the panel locks at a resume, the default gestures.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brackwater\\Varnel");

    std::fprintf(stderr, "reaction_bench: wake-ups\n");
    WakeUps(varnel, floor);
    std::fprintf(stderr, "reaction_bench: gestures\n");
    Gestures(varnel);
    std::fprintf(stderr, "reaction_bench: start-ups\n");
    StartUps(varnel, floor);
    return 0;
}
