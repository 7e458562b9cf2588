// The emulated telephony: line devices, the event that follows the message queue, call
// information, and calls played with the device console.
#include <cstdlib>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/Telephony.h"

namespace {

// One line application of this process.
struct App {
    App() {
        LINEINITIALIZEEXPARAMS params{};
        params.dwTotalSize = sizeof params;
        params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
        DWORD version = kTapiVersion20;
        HLINEAPP handle = 0;
        result = lineInitializeEx(&handle, nullptr, nullptr, L"test", &devices, &version, &params);
        app.reset(handle);
        event = params.Handles.hEvent;
    }
    LONG Open(DWORD device, DWORD privileges = LINECALLPRIVILEGE_MONITOR, DWORD_PTR instance = 0) {
        HLINE handle = 0;
        const LONG r = lineOpen(app.get(), device, &handle, kTapiVersion20, 0, instance, privileges,
                                LINEMEDIAMODE_INTERACTIVEVOICE, nullptr);
        line.reset(handle);
        return r;
    }

    LONG result = 0;
    DWORD devices = 0;
    HANDLE event = nullptr;
    LineApp app;
    Line line;  // closed before the application shuts down
};

struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

class TelephonyTest : public testing::Test {
protected:
    void SetUp() override { devemu::Device::Get().Reset(); }
};

TEST_F(TelephonyTest, DeviceCapabilitiesFollowTheNeededAndTotalSizes) {
    App a;
    ASSERT_EQ(a.result, 0);
    ASSERT_EQ(a.devices, 2u);
    const wchar_t* names[] = {L"Bluetooth Hands-Free Audio Gateway", L"Cellular Line"};
    for (DWORD device = 0; device < 2; ++device) {
        std::unique_ptr<LINEDEVCAPS, FreeDeleter> caps(static_cast<LINEDEVCAPS*>(std::calloc(1, 292)));
        caps->dwTotalSize = 200;
        EXPECT_EQ(lineGetDevCaps(a.app.get(), device, kTapiVersion20, 0, caps.get()), LINEERR_STRUCTURETOOSMALL);

        caps->dwTotalSize = 292;
        ASSERT_EQ(lineGetDevCaps(a.app.get(), device, kTapiVersion20, 0, caps.get()), 0);
        EXPECT_GT(caps->dwNeededSize, 292u) << "the strings fit: a 292-byte buffer never has to grow";
        EXPECT_EQ(caps->dwUsedSize, sizeof(LINEDEVCAPS));
        EXPECT_EQ(caps->dwLineNameSize, 0u);

        const DWORD needed = caps->dwNeededSize;
        caps.reset(static_cast<LINEDEVCAPS*>(std::calloc(1, needed)));
        caps->dwTotalSize = needed;
        ASSERT_EQ(lineGetDevCaps(a.app.get(), device, kTapiVersion20, 0, caps.get()), 0);
        EXPECT_EQ(caps->dwUsedSize, needed);
        ASSERT_LE(caps->dwLineNameOffset + caps->dwLineNameSize, needed);
        const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(caps.get()) +
                                                            caps->dwLineNameOffset);
        EXPECT_EQ(std::wstring(name), names[device]);
        EXPECT_EQ(caps->dwLineNameSize, (std::wcslen(names[device]) + 1) * sizeof(wchar_t));
    }
    LINEDEVCAPS caps{};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(lineGetDevCaps(a.app.get(), 2, kTapiVersion20, 0, &caps), LINEERR_BADDEVICEID);
    EXPECT_EQ(lineGetDevCaps(a.app.get(), 1, 0x00030000, 0, &caps), LINEERR_INCOMPATIBLEAPIVERSION);
}

TEST_F(TelephonyTest, VersionsAreNegotiatedUpTo20) {
    App a;
    DWORD version = 0;
    LINEEXTENSIONID extension{};
    EXPECT_EQ(lineNegotiateAPIVersion(a.app.get(), 1, 0x00010004, 0x00030000, &version, &extension), 0);
    EXPECT_EQ(version, kTapiVersion20);
    EXPECT_EQ(lineNegotiateAPIVersion(a.app.get(), 1, 0x00020001, 0x00030000, &version, &extension),
              LINEERR_INCOMPATIBLEAPIVERSION);
    EXPECT_EQ(lineNegotiateAPIVersion(a.app.get(), 5, kTapiVersion20, kTapiVersion20, &version, &extension),
              LINEERR_BADDEVICEID);
    EXPECT_EQ(lineNegotiateAPIVersion(0x7777, 1, kTapiVersion20, kTapiVersion20, &version, &extension),
              LINEERR_INVALAPPHANDLE);
}

TEST_F(TelephonyTest, TheEventIsSignalledExactlyWhileMessagesWait) {
    App a;
    ASSERT_EQ(a.Open(1, LINECALLPRIVILEGE_MONITOR, 0x1234), 0);
    EXPECT_FALSE(test::Signalled(a.event));
    test::Play({L"call", L"incoming"});
    test::Play({L"call", L"connect"});
    LINEMESSAGE message{};
    EXPECT_TRUE(test::Signalled(a.event));
    ASSERT_EQ(lineGetMessage(a.app.get(), &message, 0), 0);
    EXPECT_EQ(message.dwMessageID, LINE_CALLSTATE);
    EXPECT_EQ(message.dwParam1, LINECALLSTATE_OFFERING);
    EXPECT_EQ(message.dwParam2, LINEOFFERINGMODE_ACTIVE);
    EXPECT_EQ(message.dwParam3, LINECALLPRIVILEGE_MONITOR) << "the first message about a new call";
    EXPECT_EQ(message.dwCallbackInstance, 0x1234u);
    const DWORD call = message.hDevice;
    EXPECT_TRUE(test::Signalled(a.event));
    ASSERT_EQ(lineGetMessage(a.app.get(), &message, 0), 0);
    EXPECT_EQ(message.dwParam1, LINECALLSTATE_CONNECTED);
    EXPECT_EQ(message.dwParam3, 0u);
    EXPECT_EQ(message.hDevice, call);
    EXPECT_FALSE(test::Signalled(a.event));
    EXPECT_EQ(lineGetMessage(a.app.get(), &message, 0), LINEERR_OPERATIONFAILED);
}

TEST_F(TelephonyTest, AnotherProcessSignalsTheEvent) {
    App a;
    ASSERT_EQ(a.Open(1), 0);
    ASSERT_EQ(test::DevemuProcess(L"call incoming"), std::optional<DWORD>(0));
    EXPECT_TRUE(test::Signalled(a.event));
    LINEMESSAGE message{};
    EXPECT_EQ(lineGetMessage(a.app.get(), &message, 0), 0);
    EXPECT_FALSE(test::Signalled(a.event));
}

TEST_F(TelephonyTest, ABlockedReadEndsWithAMessageOrTheShutdown) {
    App a;
    ASSERT_EQ(a.Open(1), 0);
    struct Reader {
        HLINEAPP app;
        LONG result = 1;
        LINEMESSAGE message{};
        static DWORD WINAPI Body(void* self) {
            auto* r = static_cast<Reader*>(self);
            r->result = lineGetMessage(r->app, &r->message, 60000);
            return 0;
        }
    };
    Reader first{a.app.get()};
    KernelHandle thread(CreateThread(nullptr, 0, Reader::Body, &first, 0, nullptr));
    Sleep(100);
    test::Play({L"call", L"incoming"});
    ASSERT_EQ(WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.message.dwParam1, LINECALLSTATE_OFFERING);

    Reader second{a.app.get()};
    thread.reset(CreateThread(nullptr, 0, Reader::Body, &second, 0, nullptr));
    Sleep(100);
    a.line.reset();
    EXPECT_EQ(lineShutdown(a.app.release()), 0);
    ASSERT_EQ(WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(second.result, LINEERR_INVALAPPHANDLE);
}

TEST_F(TelephonyTest, OnlyMonitorsOfTheRadiosLineReceiveCalls) {
    App radio, headset, none, owner;
    ASSERT_EQ(radio.Open(1), 0);
    ASSERT_EQ(headset.Open(0), 0);
    ASSERT_EQ(none.Open(1, LINECALLPRIVILEGE_NONE), 0);
    ASSERT_EQ(owner.Open(1, LINECALLPRIVILEGE_OWNER), 0);
    test::Play({L"call", L"incoming"});
    EXPECT_TRUE(test::Signalled(radio.event));
    EXPECT_FALSE(test::Signalled(headset.event));
    EXPECT_FALSE(test::Signalled(none.event));
    EXPECT_TRUE(test::Signalled(owner.event));
    EXPECT_GE(test::FindLog("apps=2"), 0);

    HLINE line = 0;
    EXPECT_EQ(lineOpen(radio.app.get(), LINEMAPPER, &line, kTapiVersion20, 0, 0, LINECALLPRIVILEGE_MONITOR,
                       LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
              LINEERR_LINEMAPPERFAILED);
    EXPECT_EQ(lineOpen(radio.app.get(), 1, &line, kTapiVersion20, 0, 0, 3, LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
              LINEERR_INVALPRIVSELECT);
}

TEST_F(TelephonyTest, CallInformationGivesEachCallsModes) {
    App a;
    ASSERT_EQ(a.Open(1), 0);
    test::Play({L"call", L"incoming"});
    test::Play({L"call", L"disconnect"});
    test::Play({L"call", L"incoming", L"--data"});
    struct Expected {
        DWORD state, bearer, media;
    };
    const Expected expected[] = {
        {LINECALLSTATE_OFFERING, LINEBEARERMODE_VOICE, LINEMEDIAMODE_INTERACTIVEVOICE},
        {LINECALLSTATE_DISCONNECTED, LINEBEARERMODE_VOICE, LINEMEDIAMODE_INTERACTIVEVOICE},
        {LINECALLSTATE_OFFERING, LINEBEARERMODE_DATA, LINEMEDIAMODE_DATAMODEM},
    };
    for (const Expected& e : expected) {
        LINEMESSAGE message{};
        ASSERT_EQ(lineGetMessage(a.app.get(), &message, 0), 0);
        EXPECT_EQ(message.dwParam1, e.state);
        alignas(LINECALLINFO) BYTE buffer[356] = {};
        auto* info = reinterpret_cast<LINECALLINFO*>(buffer);
        info->dwTotalSize = sizeof buffer;
        ASSERT_EQ(lineGetCallInfo(message.hDevice, info), 0);
        EXPECT_EQ(info->dwBearerMode, e.bearer);
        EXPECT_EQ(info->dwMediaMode, e.media);
        EXPECT_EQ(info->dwUsedSize, sizeof(LINECALLINFO));
        info->dwTotalSize = 100;
        EXPECT_EQ(lineGetCallInfo(message.hDevice, info), LINEERR_STRUCTURETOOSMALL);
    }
    LINECALLINFO info{};
    info.dwTotalSize = sizeof info;
    EXPECT_EQ(lineGetCallInfo(0x7777, &info), LINEERR_INVALCALLHANDLE);
}

TEST_F(TelephonyTest, TheConsoleSelectsTheFailurePaths) {
    test::Play({L"tapi", L"fail-init"});
    App failed;
    EXPECT_LT(failed.result, 0);
    EXPECT_EQ(failed.app.get(), 0u);

    test::Play({L"tapi", L"no-cellular"});
    App a;
    ASSERT_EQ(a.result, 0);
    std::unique_ptr<LINEDEVCAPS, FreeDeleter> caps(static_cast<LINEDEVCAPS*>(std::calloc(1, 1024)));
    caps->dwTotalSize = 1024;
    ASSERT_EQ(lineGetDevCaps(a.app.get(), 1, kTapiVersion20, 0, caps.get()), 0);
    const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(caps.get()) +
                                                        caps->dwLineNameOffset);
    EXPECT_EQ(std::wstring(name), L"cellular line");

    test::Play({L"tapi", L"ok"});
    App good;
    EXPECT_EQ(good.result, 0);
}

}  // namespace
