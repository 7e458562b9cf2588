// CE's point-to-point message queues (coredll).
#pragma once

#include "Api.h"
#include "Handle.h"

constexpr DWORD MSGQUEUE_NOPRECOMMIT = 0x1;
constexpr DWORD MSGQUEUE_ALLOW_BROKEN = 0x2;
constexpr DWORD MSGQUEUE_MSGALERT = 0x1;  // a write flag, handed back by the read

struct MSGQUEUEOPTIONS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwMaxMessages;  // 0: no limit
    DWORD cbMaxMessage;
    BOOL bReadAccess;     // TRUE: the read end, FALSE: the write end
};
static_assert(sizeof(MSGQUEUEOPTIONS) == 20);

extern "C" {
// One end of the named queue, created when it does not exist yet; null on failure.
CE_IMPORT HANDLE WINAPI CreateMsgQueue(LPCWSTR name, MSGQUEUEOPTIONS* options);
CE_IMPORT BOOL WINAPI ReadMsgQueue(HANDLE queue, void* buffer, DWORD bufferSize, DWORD* bytesRead,
                                   DWORD timeoutMs, DWORD* flags);
CE_IMPORT BOOL WINAPI WriteMsgQueue(HANDLE queue, void* data, DWORD size, DWORD timeoutMs,
                                    DWORD flags);
CE_IMPORT BOOL WINAPI CloseMsgQueue(HANDLE queue);
}

struct MsgQueueTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseMsgQueue(h); }
};
using MsgQueueHandle = UniqueHandle<MsgQueueTraits>;
