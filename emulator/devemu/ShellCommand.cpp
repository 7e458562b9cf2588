// shell: what the emulated shell refuses, so that the program's failure paths can be shown.
#include "Command.h"
#include "Device.h"

namespace devemu {

int CmdShell(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing what to refuse" : "too many arguments");
    const std::wstring& what = args[1];
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
