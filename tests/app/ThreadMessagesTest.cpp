// The main loop's thread messages, posted from outside through the device console exactly as
// another process posts them.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/Application.h"
#include "app/ThreadMessages.h"

namespace {

// Runs the program's message loop on a thread of its own, with one window of its own.
class LoopThread {
public:
    LoopThread() {
        thread_.reset(CreateThread(nullptr, 0, Body, this, 0, &id_));
        WaitForSingleObject(ready_.Handle(), INFINITE);
    }
    ~LoopThread() {
        PostThreadMessageW(id_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_.get(), INFINITE);
    }
    DWORD Id() const { return id_; }
    HWND Window() const { return window_; }
    // Returns once every message posted before has been handled.
    void Drain() {
        Event done;
        PostThreadMessageW(id_, WM_APP + 0x100, 0, reinterpret_cast<LPARAM>(done.Handle()));
        WaitForSingleObject(done.Handle(), INFINITE);
    }

private:
    static DWORD WINAPI Body(void* self) {
        auto* loop = static_cast<LoopThread*>(self);
        loop->window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
        loop->ready_.Set();
        HookedLoop();
        DestroyWindow(loop->window_);
        return 0;
    }
    // The program's loop, with a hook that tells the test when the queue before it is handled:
    // a thread message outside the four, which the program's loop drops.
    static void HookedLoop() {
        HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
        RunMessageLoop(nullptr, Application::Instance());
        UnhookWindowsHookEx(hook);
    }
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (code == HC_ACTION && msg->hwnd == nullptr && msg->message == WM_APP + 0x100) {
            SetEvent(reinterpret_cast<HANDLE>(msg->lParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    Event ready_;
    KernelHandle thread_;
    DWORD id_ = 0;
    HWND window_ = nullptr;
};

class ThreadMessagesTest : public testing::Test {
protected:
    void SetUp() override {
        test::DeleteSettingsKey();
        app.enableLevel = 0;
        app.pendingCommand = -1;
        WaitForSingleObject(app.commandEvent.Handle(), 0);
        test::WriteSettingsDword(L"ThreadId", loop.Id());
    }
    void TearDown() override { test::DeleteSettingsKey(); }

    bool CommandSignalled() { return WaitForSingleObject(app.commandEvent.Handle(), 0) == WAIT_OBJECT_0; }

    Application& app = Application::Instance();
    LoopThread loop;
};

TEST_F(ThreadMessagesTest, ConsolePostsReachTheLoop) {
    struct Case {
        std::vector<std::vector<std::wstring>> posts;
        int32_t enableLevel;
        int32_t pendingCommand;
    };
    const Case cases[] = {
        {{{L"post", L"disable"}, {L"post", L"disable"}, {L"post", L"enable"}}, -1, -1},
        {{{L"post", L"enable"}}, 1, -1},
        {{{L"post", L"lock", L"0xC001"}}, 0, 0xC001},
        {{{L"post", L"lock", L"0x1C001"}}, 0, 0xC001},      // only the low 16 bits
        {{{L"post", L"lock", L"0xFFFF5000"}}, 0, 0x5000},   // never negative
        {{{L"post", L"lock", L"3"}, {L"post", L"lock", L"4"}}, 0, 4},  // the later one wins
    };
    for (const Case& c : cases) {
        SetUp();
        std::string trail;
        for (const auto& args : c.posts) {
            const test::ConsoleResult r = test::Devemu(args);
            ASSERT_EQ(r.code, 0) << r.err;
            trail += test::Narrow(args.back()) + " ";
        }
        loop.Drain();
        EXPECT_EQ(app.enableLevel, c.enableLevel) << trail;
        EXPECT_EQ(app.pendingCommand, c.pendingCommand) << trail;
        EXPECT_EQ(CommandSignalled(), c.pendingCommand != -1) << trail;
    }
}

TEST_F(ThreadMessagesTest, OtherMessagesAndWindowMessagesAreNotCommands) {
    PostThreadMessageW(loop.Id(), 0x8004, 0xC001, 0);
    PostThreadMessageW(loop.Id(), WM_USER + 1, 0, 0);
    // The four values posted to a window go to that window, not to the program.
    PostMessageW(loop.Window(), WM_APP_DISABLE, 0, 0);
    PostMessageW(loop.Window(), WM_APP_LOCK_COMMAND, 1, 0);
    loop.Drain();
    EXPECT_EQ(app.enableLevel, 0);
    EXPECT_EQ(app.pendingCommand, -1);
    EXPECT_FALSE(CommandSignalled());
}

TEST_F(ThreadMessagesTest, PostWithoutAPublishedThreadOrToAnEndedOneFailsClearly) {
    test::DeleteSettingsKey();
    test::ConsoleResult r = test::Devemu({L"post", L"enable"});
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, testing::HasSubstr("ThreadId"));

    DWORD ended = 0;
    HANDLE thread = CreateThread(nullptr, 0, [](void*) -> DWORD { return 0; }, nullptr, 0, &ended);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    test::WriteSettingsDword(L"ThreadId", ended);
    r = test::Devemu({L"post", L"enable"});
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err, testing::HasSubstr("not running"));
}

}  // namespace
