// touch: whether the phone has its touch library, so the program's missing-library path can be shown.
#include "Command.h"
#include "Device.h"

namespace devemu {

int CmdTouch(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing absent or present" : "too many arguments");
    if (args[1] != L"absent" && args[1] != L"present") {
        Usage("unknown touch library state \"" + Narrow(args[1]) + "\"");
    }
    const bool absent = args[1] == L"absent";
    Device::Get().Locked([&](DeviceState& s) { s.touch.absent = absent; });
    LogConsole(args);
    return 0;
}

}  // namespace devemu
