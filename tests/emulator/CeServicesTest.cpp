// The emulated CE services where the program relies on more than the monitor tests show: the
// message queues, CE's wait and the telephony's device capabilities; and where the benches rely
// on them, the moments they stamp.
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/Kernel.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"
#include "ce/Telephony.h"

namespace {

struct ReadResult {
    BOOL ok;
    DWORD error, size;
    std::string text;
};

ReadResult Read(HANDLE queue, DWORD bufferSize) {
    std::vector<char> buffer(bufferSize);
    DWORD size = 0, flags = 0;
    SetLastError(0);
    const BOOL ok = ReadMsgQueue(queue, buffer.data(), bufferSize, &size, 0, &flags);
    return {ok, GetLastError(), size, ok ? std::string(buffer.data(), size) : std::string()};
}

TEST(CeServicesTest, TheReadEndIsSignalledExactlyWhileMessagesWaitAndTheyAreReadInTurn) {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, 1024, TRUE};
    MsgQueueHandle reader(CreateMsgQueue(L"test/read", &options));
    options.bReadAccess = FALSE;
    MsgQueueHandle writer(CreateMsgQueue(L"test/read", &options));
    EXPECT_FALSE(test::Signalled(reader.get()));
    for (std::string text : {std::string(100, 'x'), std::string("next")}) {
        ASSERT_TRUE(WriteMsgQueue(writer.get(), text.data(), static_cast<DWORD>(text.size()), 0, 0));
    }
    EXPECT_TRUE(test::Signalled(reader.get()));
    ReadResult r = Read(reader.get(), 50);
    EXPECT_FALSE(r.ok) << "a message longer than the buffer";
    EXPECT_EQ(r.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(r.size, 100u);
    EXPECT_TRUE(test::Signalled(reader.get()));
    EXPECT_EQ(Read(reader.get(), 50).text, "next") << "the long message is gone";
    EXPECT_FALSE(test::Signalled(reader.get()));

    r = Read(reader.get(), 50);  // empty: with a timeout of 0, returns at once
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, 1460u);  // ERROR_TIMEOUT, not WAIT_TIMEOUT
}

TEST(CeServicesTest, WaitForMultipleObjectsFailsOnInvalidHandleValue) {
    KernelHandle set(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    // A signalled handle comes first: the desktop's wait would report it at once.
    const HANDLE handles[] = {set.get(), INVALID_HANDLE_VALUE};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForMultipleObjects(1, handles, FALSE, 0), WAIT_OBJECT_0);
}

// The call monitor's first guess of 292 bytes holds no strings: the needed size tells it to grow.
TEST(CeServicesTest, DeviceCapabilitiesInA292ByteBufferAskForMore) {
    LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    DWORD version = kTapiVersion20, devices = 0;
    HLINEAPP handle = 0;
    ASSERT_EQ(lineInitializeEx(&handle, nullptr, nullptr, L"test", &devices, &version, &params), 0);
    LineApp app(handle);
    alignas(LINEDEVCAPS) BYTE buffer[292] = {};
    auto* caps = reinterpret_cast<LINEDEVCAPS*>(buffer);
    caps->dwTotalSize = sizeof buffer;
    ASSERT_EQ(lineGetDevCaps(app.get(), 1, kTapiVersion20, 0, caps), 0);
    EXPECT_GT(caps->dwNeededSize, sizeof buffer);
    EXPECT_EQ(caps->dwLineNameSize, 0u);
}

// A service call that succeeds stamps its moment between the counts before and after it and
// sets the moment's event once; one that fails leaves both alone.
TEST(CeServicesTest, ServicesStampTheMomentsABenchTimes) {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, 536, TRUE};
    MsgQueueHandle queue(CreateMsgQueue(L"test/moments", &options));
    struct Case {
        const char* what;
        devemu::BenchMoment moment;
        std::function<bool()> call;
        bool succeeds;
    };
    const Case cases[] = {
        {"lock request", devemu::kInputLockRequest, [] {
             InputLockRequest request{0, 1};
             DWORD returned = 0;
             return KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned) != FALSE;
         }, true},
        {"other control code", devemu::kInputLockRequest, [] {
             DWORD returned = 0;
             return KernelIoControl(IOCTL_INPUT_LOCK + 4, nullptr, 0, nullptr, 0, &returned) != FALSE;
         }, false},
        {"registration", devemu::kPowerRegistration, [&] {
             PowerNotifications registration(RequestPowerNotifications(queue.get(), PBT_TRANSITION));
             return registration.valid();
         }, true},
        {"registration without flags", devemu::kPowerRegistration, [&] {
             PowerNotifications registration(RequestPowerNotifications(queue.get(), 0));
             return registration.valid();
         }, false},
    };
    devemu::Device& device = devemu::Device::Get();
    for (const Case& c : cases) {
        const HANDLE event = device.MomentEvent(c.moment);
        ResetEvent(event);
        const int64_t earlier = device.MomentStamp(c.moment), before = devemu::PerformanceCount();
        EXPECT_EQ(c.call(), c.succeeds) << c.what;
        const int64_t after = devemu::PerformanceCount(), stamp = device.MomentStamp(c.moment);
        if (c.succeeds) {
            EXPECT_TRUE(before <= stamp && stamp <= after)
                << c.what << ": " << before << " <= " << stamp << " <= " << after;
        } else {
            EXPECT_EQ(stamp, earlier) << c.what;
        }
        EXPECT_EQ(test::Signalled(event), c.succeeds) << c.what;
        EXPECT_FALSE(test::Signalled(event)) << c.what << ": one wait takes the event";
    }
}

}  // namespace
