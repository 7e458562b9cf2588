// window: the device window, the phone in your hand beside its screen, until it is closed.
#include "Command.h"
#include "DeviceWindow.h"

namespace devemu {

int CmdWindow(const Args& args, Io&) {
    if (args.size() != 1) Usage("too many arguments");
    DeviceWindow device;
    device.quitOnClose = true;
    if (!device.Window()) {
        throw CommandError{1, "cannot open the device window (error " + std::to_string(GetLastError()) + ")"};
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace devemu
