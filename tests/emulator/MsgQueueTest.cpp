// The emulated message queues: what the program's readers rely on, and the argument checks.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

namespace {

MsgQueueHandle Open(const wchar_t* name, bool reader, DWORD maxMessage = 64, DWORD maxMessages = 0) {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, maxMessages, maxMessage, reader};
    return MsgQueueHandle(CreateMsgQueue(name, &options));
}

bool Write(HANDLE queue, const std::string& text, DWORD flags = 0) {
    return WriteMsgQueue(queue, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()), 0, flags);
}

struct ReadResult {
    BOOL ok;
    DWORD error;
    std::string text;
    DWORD size;
    DWORD flags;
};

ReadResult Read(HANDLE queue, DWORD bufferSize = 256, DWORD timeoutMs = 0) {
    std::vector<char> buffer(bufferSize);
    DWORD size = 0xDEAD, flags = 0xDEAD;
    SetLastError(0);
    const BOOL ok = ReadMsgQueue(queue, buffer.data(), bufferSize, &size, timeoutMs, &flags);
    const DWORD error = GetLastError();
    return {ok, error, ok ? std::string(buffer.data(), size) : std::string(), size, flags};
}

class MsgQueueTest : public testing::Test {
protected:
    void SetUp() override { devemu::Device::Get().Reset(); }
};

TEST_F(MsgQueueTest, TheReadEndIsSignalledExactlyWhileMessagesWait) {
    MsgQueueHandle reader = Open(L"test/signal", true);
    MsgQueueHandle writer = Open(L"test/signal", false);
    ASSERT_TRUE(reader && writer);
    EXPECT_FALSE(test::Signalled(reader.get()));
    ASSERT_TRUE(Write(writer.get(), "one"));
    ASSERT_TRUE(Write(writer.get(), "two", MSGQUEUE_MSGALERT));
    ASSERT_TRUE(Write(writer.get(), "three"));
    const char* expected[] = {"one", "two", "three"};
    const DWORD flags[] = {0, MSGQUEUE_MSGALERT, 0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(test::Signalled(reader.get())) << "before read " << i;
        const ReadResult r = Read(reader.get());
        EXPECT_TRUE(r.ok) << "error " << r.error;
        EXPECT_EQ(r.text, expected[i]);
        EXPECT_EQ(r.flags, flags[i]) << "the writer's flags come back";
    }
    EXPECT_FALSE(test::Signalled(reader.get()));
}

TEST_F(MsgQueueTest, AnEmptyReadTimesOutWithErrorTimeout) {
    MsgQueueHandle reader = Open(L"test/empty", true);
    const ULONGLONG start = GetTickCount64();
    ReadResult r = Read(reader.get(), 16, 0);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, 1460u);  // ERROR_TIMEOUT, not WAIT_TIMEOUT
    r = Read(reader.get(), 16, 50);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, 1460u);
    EXPECT_GE(GetTickCount64() - start, 40u) << "the 50 ms read did not wait";
}

TEST_F(MsgQueueTest, AReadWaitsForAWriterOnAnotherThread) {
    MsgQueueHandle reader = Open(L"test/blocking", true);
    KernelHandle thread(CreateThread(nullptr, 0, [](void*) -> DWORD {
        Sleep(100);
        MsgQueueHandle writer = Open(L"test/blocking", false);
        return Write(writer.get(), "late") ? 0 : 1;
    }, nullptr, 0, nullptr));
    const ReadResult r = Read(reader.get(), 16, 30000);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.text, "late");
    WaitForSingleObject(thread.get(), INFINITE);
}

TEST_F(MsgQueueTest, AMessageLongerThanTheReadBufferFailsTheReadAndIsDropped) {
    MsgQueueHandle reader = Open(L"test/oversize", true, 1024);
    MsgQueueHandle writer = Open(L"test/oversize", false, 1024);
    ASSERT_TRUE(Write(writer.get(), std::string(100, 'x')));
    ASSERT_TRUE(Write(writer.get(), "next"));
    ReadResult r = Read(reader.get(), 50);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(r.size, 100u);
    r = Read(reader.get(), 50);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "next");
    EXPECT_FALSE(test::Signalled(reader.get()));
}

TEST_F(MsgQueueTest, TheWriterIsRefusedAMessageAboveItsMaximum) {
    MsgQueueHandle reader = Open(L"test/maximum", true, 1024);
    MsgQueueHandle writer = Open(L"test/maximum", false, 8);
    EXPECT_TRUE(Write(writer.get(), "12345678"));
    SetLastError(0);
    EXPECT_FALSE(Write(writer.get(), "123456789"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(Read(reader.get()).text, "12345678");
    EXPECT_FALSE(test::Signalled(reader.get()));
}

TEST_F(MsgQueueTest, TheMessageCountIsLimitedOnlyWhenAsked) {
    MsgQueueHandle reader = Open(L"test/limited", true, 16, 2);
    MsgQueueHandle writer = Open(L"test/limited", false, 16);
    EXPECT_TRUE(test::Signalled(writer.get())) << "the write end shows room";
    EXPECT_TRUE(Write(writer.get(), "1"));
    EXPECT_TRUE(Write(writer.get(), "2"));
    EXPECT_FALSE(test::Signalled(writer.get()));
    SetLastError(0);
    EXPECT_FALSE(Write(writer.get(), "3"));
    EXPECT_EQ(GetLastError(), 1460u);
    EXPECT_EQ(Read(reader.get()).text, "1");
    EXPECT_TRUE(test::Signalled(writer.get()));
    EXPECT_TRUE(Write(writer.get(), "3"));

    MsgQueueHandle unlimitedReader = Open(L"test/unlimited", true, 534, 0);
    MsgQueueHandle unlimitedWriter = Open(L"test/unlimited", false, 534);
    int written = 0;
    while (written < 1000 && Write(unlimitedWriter.get(), std::string(100, 'm'))) ++written;
    EXPECT_EQ(written, 1000);
}

TEST_F(MsgQueueTest, EndsAreKeptApart) {
    MsgQueueHandle reader = Open(L"test/ends", true);
    SetLastError(0);
    MsgQueueHandle writer = Open(L"test/ends", false);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(Write(reader.get(), "wrong end"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(Read(writer.get()).ok);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    const HANDLE closed = writer.release();
    EXPECT_TRUE(CloseMsgQueue(closed));
    EXPECT_FALSE(CloseMsgQueue(closed));
}

TEST_F(MsgQueueTest, BadOptionsAndArgumentsAreRefused) {
    struct Case {
        MSGQUEUEOPTIONS options;
        const char* what;
    };
    const Case cases[] = {
        {{16, 0, 0, 64, TRUE}, "structure too small"},
        {{20, 4, 0, 64, TRUE}, "unknown flag"},
        {{20, 0, 0, 0, TRUE}, "no message size"},
        {{20, 0, 0, (1 << 20) + 1, TRUE}, "message size above the limit"},
    };
    for (Case c : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateMsgQueue(L"test/bad", &c.options), nullptr) << c.what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << c.what;
    }
    EXPECT_EQ(CreateMsgQueue(L"test/bad", nullptr), nullptr);
    MSGQUEUEOPTIONS good{sizeof good, 0, 0, 64, TRUE};
    EXPECT_EQ(CreateMsgQueue(std::wstring(MAX_PATH - 2, L'q').c_str(), &good), nullptr) << "name too long";

    MsgQueueHandle reader = Open(L"test/args", true);
    char buffer[8];
    DWORD size = 0, flags = 0;
    EXPECT_FALSE(ReadMsgQueue(reader.get(), buffer, 0, &size, 0, &flags));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(ReadMsgQueue(reader.get(), buffer, sizeof buffer, nullptr, 0, &flags));
    EXPECT_FALSE(ReadMsgQueue(nullptr, buffer, sizeof buffer, &size, 0, &flags));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// A second process writes by name: the console delivers a power transition to a registered queue.
TEST_F(MsgQueueTest, AnotherProcessWritesToTheQueueByName) {
    MsgQueueHandle reader = Open(L"test/cross-process", true, 534);
    HANDLE registration = RequestPowerNotifications(reader.get(), PBT_TRANSITION);
    ASSERT_NE(registration, nullptr);
    ASSERT_EQ(test::DevemuProcess(L"power screen-off"), std::optional<DWORD>(0));
    ASSERT_TRUE(test::Signalled(reader.get()));
    alignas(POWER_BROADCAST) BYTE buffer[534];
    DWORD size = 0, flags = 0;
    ASSERT_TRUE(ReadMsgQueue(reader.get(), buffer, sizeof buffer, &size, 0, &flags));
    const auto& message = *reinterpret_cast<const POWER_BROADCAST*>(buffer);
    EXPECT_EQ(message.Message, PBT_TRANSITION);
    EXPECT_EQ(message.Flags, POWER_STATE_IDLE);
    EXPECT_EQ(message.Length, sizeof L"ScreenOff");
    EXPECT_EQ(size, kPowerBroadcastHeader + message.Length);
    EXPECT_EQ(std::wstring(message.SystemPowerState), L"ScreenOff");
    EXPECT_EQ(StopPowerNotifications(registration), 0u);
}

}  // namespace
