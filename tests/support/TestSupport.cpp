#include "TestSupport.h"

#include <cstring>

#include <tlhelp32.h>

#include "Console.h"
#include "Dc.h"
#include "Device.h"

namespace test {
namespace {

constexpr wchar_t kKeyPath[] = L"Software\\Brackwater\\Varnel";
constexpr wchar_t kExitEventName[] = L"Varnel/Exit_Event";

RegKey OpenSettingsKey(bool create) {
    HKEY key = nullptr;
    LONG status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                         : RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key);
    return RegKey(status == ERROR_SUCCESS ? key : nullptr);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() - start >= timeoutMs) return done();
        Sleep(5);
    }
}

bool Signalled(HANDLE handle, DWORD timeoutMs) { return WaitForSingleObject(handle, timeoutMs) == WAIT_OBJECT_0; }

ConsoleResult Devemu(const std::vector<std::wstring>& args) {
    devemu::Io io;
    int code = devemu::RunConsole(args, io);
    return {code, io.out, io.err};
}

void Play(const std::vector<std::wstring>& args) {
    const ConsoleResult r = Devemu(args);
    std::string command = "devemu";
    for (const std::wstring& a : args) command += " " + Narrow(a);
    EXPECT_EQ(r.code, 0) << command << ": " << r.err;
}

void PlayAll(const std::vector<std::vector<std::wstring>>& commands) {
    for (const auto& args : commands) Play(args);
}

std::optional<DWORD> DevemuProcess(const std::wstring& arguments, DWORD timeoutMs) {
    std::wstring commandLine = L"\"" + BinDir() + L"\\devemu.exe\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    KernelHandle process(info.hProcess);
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

std::vector<std::string> LogLines(uint64_t since) {
    return devemu::Device::Get().LogLines(since, nullptr);
}

std::string Narrow(const std::wstring& text) { return devemu::Utf8(text); }

uint64_t LogCount() { return devemu::Device::Get().LogCount(); }

int64_t FindLog(const std::string& text, uint64_t since) {
    uint64_t index = since;
    for (const std::string& line : LogLines(since)) {
        if (line.find(text) != std::string::npos) return static_cast<int64_t>(index);
        ++index;
    }
    return -1;
}

int64_t WaitForLog(const std::string& text, uint64_t since, DWORD timeoutMs) {
    int64_t found = -1;
    WaitUntil([&] { return (found = FindLog(text, since)) >= 0; }, timeoutMs);
    return found;
}

std::vector<std::string> Events(uint64_t since, const std::string& text) {
    std::vector<std::string> events;
    for (const std::string& line : LogLines(since)) {
        std::string event = line.substr(line.find(' ') + 1);
        if (event.find(text) != std::string::npos) events.push_back(std::move(event));
    }
    return events;
}

std::string StateValue(const std::string& key) {
    const std::string state = "\n" + Devemu({L"state"}).out;
    const size_t at = state.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const size_t start = at + key.size() + 2;
    return state.substr(start, state.find('\n', start) - start);
}

void DeleteSettingsKey() { RegDeleteTreeW(HKEY_CURRENT_USER, kKeyPath); RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath); }

void WriteSettingsValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    RegKey key = OpenSettingsKey(true);
    RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

void WriteSettingsDword(const wchar_t* name, DWORD value) {
    WriteSettingsValue(name, REG_DWORD, &value, sizeof value);
}

std::optional<RegValue> ReadSettingsValue(const wchar_t* name) {
    RegKey key = OpenSettingsKey(false);
    if (!key) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegValue value{type, std::vector<uint8_t>(size)};
    if (RegQueryValueExW(key.get(), name, nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<DWORD> ReadSettingsDword(const wchar_t* name) {
    auto value = ReadSettingsValue(name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
    DWORD result;
    std::memcpy(&result, value->data.data(), 4);
    return result;
}

std::wstring BinDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

bool InstanceRunning() {
    KernelHandle event(OpenEventW(SYNCHRONIZE, FALSE, kExitEventName));
    return event.valid();
}

void StopInstances() {
    WaitUntil([] {
        KernelHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, kExitEventName));
        if (!event) return true;
        SetEvent(event.get());
        Sleep(50);
        return false;
    }, 20000);
}

PhoneShell::PhoneShell() {
    const ConsoleResult r = Devemu({L"shell", L"start"});
    EXPECT_EQ(r.code, 0) << r.err;
    started_ = r.code == 0;
}

PhoneShell::~PhoneShell() {
    const ConsoleResult r = Devemu({L"shell", L"stop"});
    EXPECT_EQ(r.code, 0) << r.err;
}

int ScreenPixels::Count(COLORREF colour) const {
    int n = 0;
    for (COLORREF p : pixels) n += p == colour;
    return n;
}

ScreenPixels CaptureScreen(const RECT& area) {
    ScreenPixels shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    BITMAPINFO info = devemu::TopDownDib(shot.width, shot.height, 32);
    devemu::ScreenDc screen;
    devemu::MemoryDc memory(screen.get());
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits || !memory.get()) return shot;
    const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), old);  // the bitmap leaves the DC before either goes
    GdiFlush();
    for (int i = 0; i < shot.width * shot.height; ++i) {
        const uint32_t p = static_cast<const uint32_t*>(bits)[i];
        shot.pixels.push_back(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
    }
    return shot;
}

VarnelProcess::VarnelProcess(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + BinDir() + L"\\varnel.exe\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       BinDir().c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_.reset(info.hProcess);
        id_ = info.dwProcessId;
    }
}

VarnelProcess::~VarnelProcess() {
    if (!Running()) return;
    StopInstances();
    if (!WaitExit(10000)) TerminateProcess(process_.get(), 1);
}

bool VarnelProcess::Running() const {
    return process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> VarnelProcess::WaitExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

void VarnelProcess::Kill() const {
    TerminateProcess(process_.get(), 9);
    WaitExit();
}

std::vector<DWORD> VarnelProcess::Threads() const {
    std::vector<DWORD> ids;
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == id_) ids.push_back(entry.th32ThreadID);
    }
    return ids;
}

bool VarnelProcess::WaitResident(DWORD timeoutMs) const {
    return WaitUntil([this] {
        if (!Running()) return false;
        auto id = ReadSettingsDword(L"ThreadId");
        if (!id) return false;
        for (DWORD t : Threads()) {
            if (t == *id) return true;
        }
        return false;
    }, timeoutMs);
}

}  // namespace test
