// The start of the resident program in this process: the device brought into the state the lock
// machinery starts from, and a start that cannot watch its sources ending at once, saying why.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/Application.h"
#include "app/Trace.h"
#include "ce/Kernel.h"

namespace {

std::vector<std::string> traces;

TEST(StartUp, ASourceWithoutItsHandleEndsTheControllerAtOnceSayingWhyAndLeavesThePhoneFree) {
    Application& app = Application::Instance();
    for (bool telephony : {false, true}) {
        SCOPED_TRACE(telephony ? "no telephony" : "no stylus key");
        ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
        // Left locked, as by an earlier instance that was killed.
        InputLockRequest request{};
        DWORD returned = 0;
        KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned);
        ASSERT_EQ(test::StateValue("input"), "locked");
        if (telephony) test::Play({L"tapi", L"fail-init"});
        else ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd"), ERROR_SUCCESS);
        traces.clear();
        SetTraceSink([](const char* text) { traces.push_back(text); });
        app.StartUp();
        app.Wait();
        SetTraceSink(nullptr);
        EXPECT_THAT(traces, testing::Contains(telephony ? "Stopping: telephony cannot be initialised\n"
                                                        : "Stopping: the stylus state cannot be watched\n"));
        EXPECT_EQ(test::StateValue("input"), "free");
        EXPECT_EQ(test::StateValue("icon"), "hidden");
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the main loop was not told";
        // As at the process's end, so that the next start builds its own.
        app.mailbox.reset();
        app.lockWindow.reset();
        app.notificationIcon.reset();
    }
    test::DeleteSettingsKey();
}

}  // namespace
