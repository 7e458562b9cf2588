#include "Device.h"

#include <atomic>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "ce/Power.h"

namespace devemu {
namespace {

// Size and a version number, so that a file left by an older build is not misread.
constexpr uint32_t kLayoutVersion = 3;
constexpr uint32_t LayoutStamp() {
    return static_cast<uint32_t>(sizeof(DeviceState)) ^ (kLayoutVersion << 28);
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "devemu: cannot open the device (%s, error %lu)\n", what, GetLastError());
    std::exit(3);
}

// The state is backed by a file so that it outlives every process between two commands.
std::wstring StatePath(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(temp) + L"devemu-" + name + L".state";
}

std::wstring MappingName(const std::wstring& name) { return L"devemu/" + name + L"/state"; }

}  // namespace

void SetDefaults(DeviceState& state) {
    std::memset(&state, 0, sizeof state);
    state.layout = LayoutStamp();
    state.power.flags = POWER_STATE_ON | POWER_STATE_BACKLIGHTON;
    std::wcscpy(state.power.name, L"On");
    state.power.acLine = AC_LINE_OFFLINE;
    state.tapi.mode = TapiMode::Ok;
    state.leds.count = 2;
}

std::wstring DeviceName() {
    wchar_t buffer[128];
    DWORD n = GetEnvironmentVariableW(L"DEVEMU_NAME", buffer, 128);
    if (n == 0 || n >= 128) return L"phone";
    return buffer;
}

std::wstring ObjectName(const std::wstring& what) { return L"devemu/" + DeviceName() + L"/" + what; }

uint32_t HostTick() { return static_cast<uint32_t>(GetTickCount64()); }

int64_t PerformanceCount() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

Device::Lock::Lock(HANDLE mutex) : mutex_(mutex) {
    // WAIT_ABANDONED still hands over ownership: a process that died mid-update leaves a
    // state that is at worst one line short, which beats a device nobody can open again.
    WaitForSingleObject(mutex_, INFINITE);
}

Device::Lock::~Lock() { ReleaseMutex(mutex_); }

Device& Device::Get() {
    static Device* device = new Device();  // never destroyed: DLLs use it until process exit
    return *device;
}

Device::Device() {
    const std::wstring name = DeviceName();
    mutex_ = CreateMutexW(nullptr, FALSE, (L"devemu/" + name + L"/lock").c_str());
    if (!mutex_) Fail("mutex");
    Lock lock(mutex_);

    const std::wstring path = StatePath(name);
    if (path.empty()) Fail("temp path");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("state file");
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const bool fresh = size.QuadPart != static_cast<LONGLONG>(sizeof(DeviceState));
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, sizeof(DeviceState),
                                        MappingName(name).c_str());
    CloseHandle(file);
    if (!mapping) Fail("mapping");
    state_ = static_cast<DeviceState*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DeviceState)));
    CloseHandle(mapping);  // the view keeps the mapping alive
    if (!state_) Fail("view");
    if (fresh || state_->layout != LayoutStamp()) SetDefaults(*state_);
    for (uint32_t moment = 0; moment < kBenchMoments; ++moment) {
        momentEvents_[moment] =
            CreateEventW(nullptr, FALSE, FALSE, ObjectName(L"moment/" + std::to_wstring(moment)).c_str());
        if (!momentEvents_[moment]) Fail("moment event");
    }
}

const DeviceState* Device::MapForPeek() {
    const std::wstring name = DeviceName();
    const std::wstring path = StatePath(name);
    if (path.empty()) return nullptr;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    HANDLE mapping = nullptr;
    // A file of another size is left alone: mapping it at our size would grow it.
    if (size.QuadPart == static_cast<LONGLONG>(sizeof(DeviceState))) {
        mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, sizeof(DeviceState),
                                     MappingName(name).c_str());
    }
    CloseHandle(file);
    if (!mapping) return nullptr;
    auto* state = static_cast<const DeviceState*>(
        MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(DeviceState)));
    CloseHandle(mapping);
    if (state && state->layout != LayoutStamp()) {
        UnmapViewOfFile(state);
        return nullptr;
    }
    return state;
}

namespace {

std::atomic_ref<uint32_t> Word(uint32_t& word) { return std::atomic_ref<uint32_t>(word); }

// Without the lock: the program reads the clock several times a second, each field is one
// aligned word, and the lock would cost a round trip to the Wine server each time. Whoever
// changes the clock publishes the value before the flag that says which one counts.
uint32_t UptimeOf(DeviceState& s) {
    if (Word(s.clockHeld).load(std::memory_order_acquire)) {
        return Word(s.heldUptime).load(std::memory_order_relaxed);
    }
    return HostTick() + Word(s.clockOffset).load(std::memory_order_relaxed);
}

}  // namespace

uint32_t Device::Uptime() { return UptimeOf(*state_); }

void Device::HoldClock(bool hold) {
    Locked([hold](DeviceState& s) {
        const bool held = Word(s.clockHeld).load(std::memory_order_relaxed) != 0;
        if (hold == held) return;
        if (hold) {
            Word(s.heldUptime).store(UptimeOf(s), std::memory_order_relaxed);
        } else {
            Word(s.clockOffset).store(s.heldUptime - HostTick(), std::memory_order_relaxed);
        }
        Word(s.clockHeld).store(hold ? 1 : 0, std::memory_order_release);
    });
}

void Device::SetClock(uint32_t uptime) {
    Locked([uptime](DeviceState& s) {
        if (s.clockHeld) Word(s.heldUptime).store(uptime, std::memory_order_relaxed);
        else Word(s.clockOffset).store(uptime - HostTick(), std::memory_order_relaxed);
    });
}

void Device::AdvanceClock(uint32_t delta) {
    Locked([delta](DeviceState& s) {
        if (s.clockHeld) Word(s.heldUptime).fetch_add(delta, std::memory_order_relaxed);
        else Word(s.clockOffset).fetch_add(delta, std::memory_order_relaxed);
    });
}

void Device::AppendLocked(DeviceState& state, const char* text) {
    LogLine& line = state.log[state.logCount % kLogCapacity];
    line.uptime = UptimeOf(state);
    std::snprintf(line.text, sizeof line.text, "%s", text);
    ++state.logCount;
}

void Device::Log(const char* format, ...) {
    char text[kLogTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Locked([&](DeviceState& s) { AppendLocked(s, text); });
}

std::vector<std::string> Device::LogLines(uint64_t since, uint64_t* next) {
    return Locked([&](DeviceState& s) {
        std::vector<std::string> lines;
        uint64_t first = s.logCount > kLogCapacity ? s.logCount - kLogCapacity : 0;
        if (since < first) since = first;
        for (uint64_t i = since; i < s.logCount; ++i) {
            const LogLine& line = s.log[i % kLogCapacity];
            lines.push_back(std::to_string(line.uptime) + " " + line.text);
        }
        if (next) *next = s.logCount > since ? s.logCount : since;
        return lines;
    });
}

uint64_t Device::LogCount() {
    return Locked([](DeviceState& s) { return s.logCount; });
}

void Device::Reset() {
    Locked([](DeviceState& s) { SetDefaults(s); });
}

void Device::MarkMoment(BenchMoment moment, int64_t stamp) {
    std::atomic_ref<int64_t>(state_->moments[moment]).store(stamp, std::memory_order_release);
    SetEvent(momentEvents_[moment]);
}

int64_t Device::MomentStamp(BenchMoment moment) {
    return std::atomic_ref<int64_t>(state_->moments[moment]).load(std::memory_order_acquire);
}

}  // namespace devemu
