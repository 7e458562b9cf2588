// The entry function: the command line decides whether this start enables the utility, stops
// the running instance, or becomes the running instance.
#include <cwchar>

#include <windows.h>

#include "AppGlobals.h"
#include "Application.h"
#include "ce/Shell.h"

namespace {

int RunResident(Application& app) {
    HACCEL accelerators = LoadAcceleratorsW(AppInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    app.StartUp();
    RunMessageLoop(accelerators);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    AppIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    AppInstance = instance;
    AppShowCommand = showCommand;

    SHInitExtraControls();

    if (std::wcscmp(commandLine, L"/u") == 0) {
        Application& app = Application::Instance();
        if (app.AlreadyRunning()) app.RequestExit();
        return 0;
    }

    if (std::wcscmp(commandLine, L"/i") == 0) {
        int answer = MessageBoxW(nullptr,
                                 L"Varnel will now be enabled.\n\nThe Varnel control panel may not be "
                                 L"available until you soft reset your device. Do so now?",
                                 L"Information", MB_YESNO | MB_ICONINFORMATION | MB_TOPMOST);
        if (answer == IDYES) {
            AygExitWindowsEx(EWX_REBOOT, 0);
            return 0;
        }
        Application& app = Application::Instance();
        if (app.AlreadyRunning()) return 0;
        return RunResident(app);
    }

    Application& app = Application::Instance();
    if (app.AlreadyRunning()) {
        // A failed message box counts as No.
        if (MessageBoxW(nullptr, L"Varnel is currently enabled. Disable it temporarily?",
                        L"Action required", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES) {
            app.RequestExit();
        }
        return 0;
    }
    return RunResident(app);
}
