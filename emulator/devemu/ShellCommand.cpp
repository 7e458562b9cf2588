// shell: the phone's shell process (the bars across the screen, the input guard), and what the
// emulated shell library refuses, so that the program's failure paths can be shown.
#include "Command.h"
#include "Device.h"
#include "PhoneShell.h"

namespace devemu {

int CmdShell(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing what the shell does" : "too many arguments");
    const std::wstring& what = args[1];
    std::string error;
    if (what == L"run") {
        if (RunPhoneShell(error) != 0) throw CommandError{1, error};
        return 0;
    }
    if (what == L"start" || what == L"stop") {
        LogConsole(args);
        if (!(what == L"start" ? StartPhoneShell(error) : StopPhoneShell(error))) throw CommandError{1, error};
        return 0;
    }
    if (what != L"refuse-add" && what != L"refuse-remove" && what != L"refuse-menubar" && what != L"accept") {
        Usage("unknown shell behaviour \"" + Narrow(what) + "\"");
    }
    Device::Get().Locked([&](DeviceState& s) {
        if (what == L"accept") s.shell = ShellState{};
        else if (what == L"refuse-add") s.shell.refuseAdd = true;
        else if (what == L"refuse-remove") s.shell.refuseRemove = true;
        else s.shell.refuseMenuBar = true;
    });
    LogConsole(args);
    return 0;
}

}  // namespace devemu
