// The emulated CE services where the program relies on more than the monitor tests show: the
// message queues, CE's wait and the telephony's event and device capabilities.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"
#include "ce/Telephony.h"

namespace {

class CeServicesTest : public testing::Test {
protected:
    void SetUp() override { test::Play({L"reset"}); }
};

// ---- Message queues ----------------------------------------------------------------------------

MsgQueueHandle Open(const wchar_t* name, bool reader) {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, 1024, reader};
    return MsgQueueHandle(CreateMsgQueue(name, &options));
}

bool Write(HANDLE queue, const std::string& text) {
    const DWORD size = static_cast<DWORD>(text.size());
    return WriteMsgQueue(queue, const_cast<char*>(text.data()), size, 0, 0);
}

struct ReadResult {
    BOOL ok;
    DWORD error, size;
    std::string text;
};

ReadResult Read(HANDLE queue, DWORD bufferSize = 256) {
    std::vector<char> buffer(bufferSize);
    DWORD size = 0, flags = 0;
    SetLastError(0);
    const BOOL ok = ReadMsgQueue(queue, buffer.data(), bufferSize, &size, 0, &flags);
    return {ok, GetLastError(), size, ok ? std::string(buffer.data(), size) : std::string()};
}

TEST_F(CeServicesTest, TheReadEndIsSignalledExactlyWhileMessagesWaitAndTheyAreReadInTurn) {
    MsgQueueHandle reader = Open(L"test/read", true), writer = Open(L"test/read", false);
    EXPECT_FALSE(test::Signalled(reader.get()));
    ASSERT_TRUE(Write(writer.get(), std::string(100, 'x')));
    ASSERT_TRUE(Write(writer.get(), "next"));
    EXPECT_TRUE(test::Signalled(reader.get()));
    ReadResult r = Read(reader.get(), 50);
    EXPECT_FALSE(r.ok) << "a message longer than the buffer";
    EXPECT_EQ(r.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(r.size, 100u);
    EXPECT_TRUE(test::Signalled(reader.get()));
    EXPECT_EQ(Read(reader.get(), 50).text, "next") << "the long message is gone";
    EXPECT_FALSE(test::Signalled(reader.get()));

    // Empty: a read without a timeout returns at once.
    const ULONGLONG start = GetTickCount64();
    r = Read(reader.get());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, 1460u);  // ERROR_TIMEOUT, not WAIT_TIMEOUT
    EXPECT_LT(GetTickCount64() - start, 2000u) << "the read waited";
}

// The console in a process of its own delivers a power transition to a registered queue.
TEST_F(CeServicesTest, AnotherProcessWritesToTheQueueByName) {
    MsgQueueHandle reader = Open(L"test/cross-process", true);
    PowerNotifications registration(RequestPowerNotifications(reader.get(), PBT_TRANSITION));
    ASSERT_TRUE(registration);
    ASSERT_EQ(test::DevemuProcess(L"power screen-off"), std::optional<DWORD>(0));
    ASSERT_TRUE(test::Signalled(reader.get()));
    const ReadResult r = Read(reader.get(), 534);
    ASSERT_TRUE(r.ok);
    const auto& message = *reinterpret_cast<const POWER_BROADCAST*>(r.text.data());
    EXPECT_EQ(message.Message, PBT_TRANSITION);
    EXPECT_EQ(message.Flags, POWER_STATE_IDLE);
    EXPECT_EQ(r.size, kPowerBroadcastHeader + sizeof L"ScreenOff");
    EXPECT_EQ(std::wstring(message.SystemPowerState), L"ScreenOff");
}

// ---- The wait ----------------------------------------------------------------------------------

TEST_F(CeServicesTest, WaitForMultipleObjectsFailsOnInvalidHandleValue) {
    KernelHandle set(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    // A signalled handle comes first: the desktop's wait would report it at once.
    const HANDLE handles[] = {set.get(), INVALID_HANDLE_VALUE};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForMultipleObjects(1, handles, FALSE, 0), WAIT_OBJECT_0);
}

// ---- Telephony ---------------------------------------------------------------------------------

// One line application of this process, with the cellular line open for monitoring.
struct App {
    App() {
        LINEINITIALIZEEXPARAMS params{};
        params.dwTotalSize = sizeof params;
        params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
        DWORD version = kTapiVersion20, devices = 0;
        HLINEAPP handle = 0;
        EXPECT_EQ(lineInitializeEx(&handle, nullptr, nullptr, L"test", &devices, &version, &params),
                  0);
        app.reset(handle);
        event = params.Handles.hEvent;
        HLINE opened = 0;
        EXPECT_EQ(lineOpen(handle, 1, &opened, kTapiVersion20, 0, 0, LINECALLPRIVILEGE_MONITOR,
                           LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
                  0);
        line.reset(opened);
    }
    HANDLE event = nullptr;
    LineApp app;
    Line line;  // closed before the application shuts down
};

TEST_F(CeServicesTest, TheLineEventIsSignalledExactlyWhileMessagesWait) {
    App a;
    EXPECT_FALSE(test::Signalled(a.event));
    test::PlayAll({{L"call", L"incoming"}, {L"call", L"connect"}});
    LINEMESSAGE message{};
    for (DWORD state : {LINECALLSTATE_OFFERING, LINECALLSTATE_CONNECTED}) {
        EXPECT_TRUE(test::Signalled(a.event));
        ASSERT_EQ(lineGetMessage(a.app.get(), &message, 0), 0);
        EXPECT_EQ(message.dwParam1, state);
    }
    EXPECT_FALSE(test::Signalled(a.event));
    EXPECT_EQ(lineGetMessage(a.app.get(), &message, 0), LINEERR_OPERATIONFAILED);
}

// The call monitor's first guess of 292 bytes holds no strings: the needed size tells it to grow.
TEST_F(CeServicesTest, DeviceCapabilitiesInA292ByteBufferAskForMore) {
    App a;
    alignas(LINEDEVCAPS) BYTE buffer[292] = {};
    auto* caps = reinterpret_cast<LINEDEVCAPS*>(buffer);
    caps->dwTotalSize = sizeof buffer;
    ASSERT_EQ(lineGetDevCaps(a.app.get(), 1, kTapiVersion20, 0, caps), 0);
    EXPECT_GT(caps->dwNeededSize, sizeof buffer);
    EXPECT_EQ(caps->dwLineNameSize, 0u);
}

}  // namespace
