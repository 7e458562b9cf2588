// Reaction to a wake-up: from a resume to the program's input-lock request, over 100 resumes of a
// varnel.exe that runs on a device of its own with ResumeBehaviour "Lock panel". Three figures,
// each as median and 99th percentile:
// - device log: from the console's "power resume" line to the "input-lock" line, as the log
//   stamps them (whole milliseconds of the device clock). It includes the console's own work of
//   finding the registered queue and writing to it.
// - queue to request: from writing the resume message into the power queue (a write end kept
//   open, as another process of the phone would) to the request appearing in the log, in
//   microseconds of the host's performance counter.
// - floor: the same for a thread of this process that does the least any reaction does on this
//   platform: it waits on a queue of its own, reads the message and sends the request. The
//   difference to the figure before is what the controller adds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "Console.h"
#include "Device.h"
#include "ce/Kernel.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

namespace {

constexpr int kResumes = 100;
constexpr DWORD kTimeoutMs = 10000;
constexpr wchar_t kExitEventName[] = L"Varnel/Exit_Event";

bool Console(const devemu::Args& args) {
    devemu::Io io;
    if (devemu::RunConsole(args, io) == 0) return true;
    std::fprintf(stderr, "devemu: %s", io.err.c_str());
    return false;
}

double NowUs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The first log line from `since` on that contains `text`: its index and time stamp. Polls
// without sleeping, so that the moment it is seen is close to the moment it was written.
struct Line {
    uint64_t index;
    uint32_t time;
};

bool WaitForLine(const std::string& text, uint64_t since, Line* found) {
    devemu::Device& device = devemu::Device::Get();
    const ULONGLONG start = GetTickCount64();
    do {
        uint64_t index = since;
        for (const std::string& line : device.LogLines(since, nullptr)) {
            if (line.find(text) != std::string::npos) {
                *found = {index, static_cast<uint32_t>(std::strtoul(line.c_str(), nullptr, 10))};
                return true;
            }
            ++index;
        }
    } while (GetTickCount64() - start < kTimeoutMs);
    std::fprintf(stderr, "no \"%s\" in the device log\n", text.c_str());
    return false;
}

// Signals the running instance's exit event until the instance is gone.
void StopInstances() {
    for (;;) {
        HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kExitEventName);
        if (!event) return;
        SetEvent(event);
        CloseHandle(event);
        Sleep(50);
    }
}

bool SetResumeBehaviour(DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brackwater\\Varnel", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status = RegSetValueExW(key, L"ResumeBehaviour", 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

HANDLE StartVarnel() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir.resize(dir.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + dir + L"\\varnel.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                        &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

constexpr DWORD kMaxMessage = 534;  // the power monitor's

MsgQueueHandle OpenQueue(const wchar_t* name, bool read) {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, kMaxMessage, read};
    return MsgQueueHandle(CreateMsgQueue(name, &options));
}

bool WriteTransition(HANDLE queue, DWORD flags) {
    POWER_BROADCAST message{PBT_TRANSITION, flags, 0, {}};
    return WriteMsgQueue(queue, &message, kPowerBroadcastHeader, 0, 0);
}

// Microseconds from each resume message written to `queue` to the next request in the log; the
// reader sees a screen-off message before each.
std::vector<double> QueueToRequest(HANDLE queue) {
    devemu::Device& device = devemu::Device::Get();
    std::vector<double> values;
    for (int i = 0; i < kResumes; ++i) {
        if (!WriteTransition(queue, POWER_STATE_IDLE)) break;
        const uint64_t since = device.LogCount();
        const double start = NowUs();
        Line locked{};
        if (!WriteTransition(queue, POWER_STATE_ON | POWER_STATE_BACKLIGHTON) ||
            !WaitForLine("input-lock", since, &locked)) {
            break;
        }
        values.push_back(NowUs() - start);
    }
    return values;
}

// The floor: wait, read, request on resume, at the controller's priority.
class FloorReader {
public:
    explicit FloorReader(const wchar_t* name) : queue_(OpenQueue(name, true)) {
        thread_.reset(CreateThread(nullptr, 0, Body, this, CREATE_SUSPENDED, nullptr));
        SetThreadPriority(thread_.get(), THREAD_PRIORITY_ABOVE_NORMAL);
        ResumeThread(thread_.get());
    }
    ~FloorReader() {
        SetEvent(stop_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
    }

private:
    static DWORD WINAPI Body(void* self) {
        auto* reader = static_cast<FloorReader*>(self);
        const HANDLE handles[] = {reader->stop_.get(), reader->queue_.get()};
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            alignas(POWER_BROADCAST) BYTE buffer[kMaxMessage];
            DWORD size = 0, flags = 0;
            while (ReadMsgQueue(reader->queue_.get(), buffer, sizeof buffer, &size, 0, &flags)) {
                if (!(reinterpret_cast<const POWER_BROADCAST*>(buffer)->Flags & POWER_STATE_ON)) continue;
                InputLockRequest request{0, 1};
                DWORD returned = 0;
                KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
            }
        }
        return 0;
    }

    MsgQueueHandle queue_;
    KernelHandle stop_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle thread_;
};

void Print(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    // Nearest rank.
    const auto rank = [&](double p) { return values[static_cast<size_t>(p * values.size() + 0.999) - 1]; };
    std::printf("%-20s median %8.1f %s   99th percentile %8.1f %s   (min %.1f, max %.1f)\n", what, rank(0.5), unit,
                rank(0.99), unit, values.front(), values.back());
}

}  // namespace

int main() {
    // A device of its own, which the program inherits, unless told otherwise.
    if (GetEnvironmentVariableW(L"DEVEMU_NAME", nullptr, 0) == 0) {
        SetEnvironmentVariableW(L"DEVEMU_NAME", L"resume_latency_bench");
    }
    StopInstances();  // one instance per prefix
    if (!Console({L"reset"}) || !SetResumeBehaviour(2)) return 1;
    devemu::Device& device = devemu::Device::Get();
    HANDLE varnel = StartVarnel();
    Line line{};
    // The call monitor is the last source built before the loop waits; what comes after it is
    // queued for the loop.
    if (!varnel || !WaitForLine("line open", 0, &line)) return 1;

    // Each round: the screen goes off (a panel already locked stays so), the phone wakes and
    // locks the panel again, sending its request anew.
    std::vector<double> logged;
    for (int i = 0; i < kResumes; ++i) {
        const uint64_t since = device.LogCount();
        if (!Console({L"power", L"screen-off"}) || !Console({L"power", L"resume"})) return 1;
        Line resumed{}, locked{};
        if (!WaitForLine("console power resume", since, &resumed) ||
            !WaitForLine("input-lock", resumed.index, &locked)) {
            return 1;
        }
        logged.push_back(locked.time - resumed.time);
    }

    std::vector<double> direct;
    {
        MsgQueueHandle queue = OpenQueue(L"POWER_MSG_QUEUE", false);
        direct = QueueToRequest(queue.get());
    }
    std::vector<double> floor;
    {
        FloorReader reader(L"RESUME_LATENCY_BENCH_QUEUE");
        MsgQueueHandle queue = OpenQueue(L"RESUME_LATENCY_BENCH_QUEUE", false);
        floor = QueueToRequest(queue.get());
    }
    if (direct.size() != kResumes || floor.size() != kResumes) return 1;

    StopInstances();
    WaitForSingleObject(varnel, kTimeoutMs);
    CloseHandle(varnel);

    std::printf("resume -> input-lock request, %d resumes each:\n", kResumes);
    Print("device log", logged, "ms");
    Print("queue to request", direct, "us");
    Print("floor", floor, "us");
    return 0;
}
