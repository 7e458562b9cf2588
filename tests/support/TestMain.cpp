// Sets the process globals as the entry function would, then runs the tests.
#include <gmock/gmock.h>

#include "app/AppGlobals.h"

int main(int argc, char** argv) {
    AppInstance = GetModuleHandleW(nullptr);
    AppIcon = LoadIconW(AppInstance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON));
    AppShowCommand = SW_SHOWNORMAL;
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
