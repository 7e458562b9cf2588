// Helpers the test programs share: polling, the device console, the program's registry key and
// program instances started as real processes.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <windows.h>

#include <gmock/gmock.h>

#include "ce/Handle.h"

namespace test {

// The whole string matches the ECMAScript regular expression (GoogleTest's own regular
// expressions on Windows know no character classes).
MATCHER_P(Matches, pattern, std::string("matches /") + pattern + "/") {
    return std::regex_match(std::string(arg), std::regex(pattern));
}

// Whether the kernel object is signalled now, or becomes so within `timeoutMs`.
bool Signalled(HANDLE handle, DWORD timeoutMs = 0);

// Polls `done` every few milliseconds until it holds or `timeoutMs` passed; returns its last value.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

struct ConsoleResult {
    int code;
    std::string out;
    std::string err;
};
// Runs one device console command in this process, exactly as devemu.exe would.
ConsoleResult Devemu(const std::vector<std::wstring>& args);
// Runs a console command that must succeed; a failure is reported with the command's error text.
void Play(const std::vector<std::wstring>& args);
void PlayAll(const std::vector<std::vector<std::wstring>>& commands);
// Runs devemu.exe as a process of its own (it inherits this process's device); returns its exit
// code, or nullopt when it could not start or did not end in time.
std::optional<DWORD> DevemuProcess(const std::wstring& arguments, DWORD timeoutMs = 30000);

std::string Narrow(const std::wstring& text);

// Device log lines from index `since` on, and the current count.
std::vector<std::string> LogLines(uint64_t since = 0);
uint64_t LogCount();
// Index of the first line at or after `since` containing `text`, or -1.
int64_t FindLog(const std::string& text, uint64_t since = 0);
// Waits for such a line; returns its index or -1.
int64_t WaitForLog(const std::string& text, uint64_t since, DWORD timeoutMs = 10000);
// The events from index `since` on without their time stamps, those containing `text` only.
std::vector<std::string> Events(uint64_t since = 0, const std::string& text = "");
// One value of `devemu state`, "<missing>" when it has no such key.
std::string StateValue(const std::string& key);

// The program's registry key under HKEY_CURRENT_USER.
void DeleteSettingsKey();
void WriteSettingsValue(const wchar_t* name, DWORD type, const void* data, DWORD size);
void WriteSettingsDword(const wchar_t* name, DWORD value);
struct RegValue {
    DWORD type;
    std::vector<uint8_t> data;
};
std::optional<RegValue> ReadSettingsValue(const wchar_t* name);
std::optional<DWORD> ReadSettingsDword(const wchar_t* name);

// The directory of the running test program, which is build/bin.
std::wstring BinDir();

// Whether a program instance runs: its named exit event exists.
bool InstanceRunning();
// Stops every running instance (signals the exit event) and waits until none is left.
void StopInstances();

// The phone's shell process (the bars and the input guard) for this process's device, from
// construction to destruction.
class PhoneShell {
public:
    PhoneShell();
    ~PhoneShell();
    PhoneShell(const PhoneShell&) = delete;
    PhoneShell& operator=(const PhoneShell&) = delete;
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

// The pixels of `area` of the screen, as the user sees them.
struct ScreenPixels {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF colour) const;
};
ScreenPixels CaptureScreen(const RECT& area);

// varnel.exe started with an exact command-line tail (what the entry function receives).
class VarnelProcess {
public:
    explicit VarnelProcess(const std::wstring& arguments);
    ~VarnelProcess();  // a process still running is stopped, then killed if it will not stop

    VarnelProcess(const VarnelProcess&) = delete;
    VarnelProcess& operator=(const VarnelProcess&) = delete;

    bool Started() const { return process_.valid(); }
    DWORD Id() const { return id_; }
    bool Running() const;
    // Waits for the process to end; returns its exit code, or nullopt on time-out.
    std::optional<DWORD> WaitExit(DWORD timeoutMs = 10000) const;
    // Ends the process at once, as a crash would: nothing of it runs to tidy up.
    void Kill() const;
    // Waits until this process is the resident instance: it published its main thread's id.
    bool WaitResident(DWORD timeoutMs = 10000) const;
    // The ids of the process's threads.
    std::vector<DWORD> Threads() const;

private:
    KernelHandle process_;
    DWORD id_ = 0;
};

}  // namespace test
