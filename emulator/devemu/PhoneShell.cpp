#include "PhoneShell.h"

#include "Device.h"
#include "InputGuard.h"
#include "NavigationBar.h"
#include "ce/Handle.h"

namespace devemu {
namespace {

constexpr DWORD kPatience = 20000;  // for the shell to come up or go; only waited on, never measured

// The shell's named objects: held while it runs, set when it is up, set to make it stop.
std::wstring RunningName() { return ObjectName(L"shell/running"); }
std::wstring ReadyName() { return ObjectName(L"shell/ready"); }
std::wstring StopName() { return ObjectName(L"shell/stop"); }

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n < MAX_PATH ? n : 0);
}

// devemu.exe beside this program (a test program runs the shell the console would).
std::wstring DevemuProgram() {
    std::wstring self = ThisProgram();
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"devemu.exe";
}

bool WaitFor(bool (*done)(), DWORD timeoutMs) {
    const uint32_t start = HostTick();
    while (!done()) {
        if (HostTick() - start >= timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

bool Ready() {
    KernelHandle ready(OpenEventW(SYNCHRONIZE, FALSE, ReadyName().c_str()));
    return ready && WaitForSingleObject(ready.get(), 0) == WAIT_OBJECT_0;
}

bool Gone() { return !PhoneShellRunning(); }

}  // namespace

bool PhoneShellRunning() {
    KernelHandle running(OpenMutexW(SYNCHRONIZE, FALSE, RunningName().c_str()));
    return running.valid();
}

int RunPhoneShell(std::string& error) {
    KernelHandle running(CreateMutexW(nullptr, FALSE, RunningName().c_str()));
    if (!running || GetLastError() == ERROR_ALREADY_EXISTS) {
        error = "the phone's shell runs already";
        return 1;
    }
    KernelHandle stop(CreateEventW(nullptr, TRUE, FALSE, StopName().c_str()));
    KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, ReadyName().c_str()));
    if (!stop || !ready) {
        error = "cannot create the shell's events (error " + std::to_string(GetLastError()) + ")";
        return 1;
    }
    ResetEvent(stop.get());  // a stop meant for an earlier shell is not for this one
    // Teardown order: the hooks go before the bar, whose thread they run on.
    NavigationBar bar;
    InputGuard guard;
    if (!bar.Window() || !guard.Installed()) {
        error = "cannot show the navigation bar or hook the input (error " + std::to_string(GetLastError()) + ")";
        return 1;
    }
    SetEvent(ready.get());
    for (;;) {
        const HANDLE wait[] = {stop.get()};
        if (MsgWaitForMultipleObjects(1, wait, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    ResetEvent(ready.get());
    return 0;
}

bool StartPhoneShell(std::string& error) {
    if (PhoneShellRunning() && WaitFor(Ready, kPatience)) return true;
    std::wstring commandLine = L"\"" + DevemuProgram() + L"\" shell run";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // No handles inherited: a script reading this command's output must not wait for the shell.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &info)) {
        error = "cannot start " + Utf8(DevemuProgram()) + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    CloseHandle(info.hThread);
    KernelHandle process(info.hProcess);
    const uint32_t start = HostTick();
    while (!Ready()) {
        if (WaitForSingleObject(process.get(), 10) == WAIT_OBJECT_0) {
            error = "the phone's shell ended as it started";
            return false;
        }
        if (HostTick() - start >= kPatience) {
            error = "the phone's shell did not come up";
            return false;
        }
    }
    return true;
}

bool StopPhoneShell(std::string& error) {
    KernelHandle stop(OpenEventW(EVENT_MODIFY_STATE, FALSE, StopName().c_str()));
    if (stop) SetEvent(stop.get());
    if (!WaitFor(Gone, kPatience)) {
        error = "the phone's shell did not stop";
        return false;
    }
    return true;
}

}  // namespace devemu
