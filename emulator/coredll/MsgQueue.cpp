// Point-to-point message queues: CE's argument checks and results over the device's queues.
#include <cwchar>

#include "HandleTable.h"
#include "Queues.h"
#include "ce/MsgQueue.h"

namespace {

// The CE kernel's own limit for one message.
constexpr DWORD kMaxMessageLimit = 1 << 20;

HandleTable<HANDLE, devemu::MsgQueue>& Queues() {
    static auto* table = new HandleTable<HANDLE, devemu::MsgQueue>;  // lives until process exit
    return *table;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

std::shared_ptr<devemu::MsgQueue> FindMsgQueue(HANDLE handle) { return Queues().Find(handle); }

extern "C" {

HANDLE WINAPI CreateMsgQueue(LPCWSTR name, MSGQUEUEOPTIONS* options) {
    if (!options || options->dwSize < sizeof(MSGQUEUEOPTIONS) ||
        (options->dwFlags & ~(MSGQUEUE_NOPRECOMMIT | MSGQUEUE_ALLOW_BROKEN)) != 0 ||
        options->cbMaxMessage == 0 || options->cbMaxMessage > kMaxMessageLimit ||
        (name && std::wcslen(name) >= MAX_PATH - 2)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD error = 0;
    bool existed = false;
    const devemu::MsgQueue::Options queueOptions{options->dwMaxMessages, options->cbMaxMessage,
                                                 options->bReadAccess != FALSE};
    std::shared_ptr<devemu::MsgQueue> queue = devemu::MsgQueue::Create(name, queueOptions, &error, &existed);
    if (!queue) {
        SetLastError(error);
        return nullptr;
    }
    HANDLE handle = queue->Handle();
    Queues().Add(handle, std::move(queue));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadMsgQueue(HANDLE handle, void* buffer, DWORD bufferSize, DWORD* bytesRead,
                         DWORD timeoutMs, DWORD* flags) {
    if (!buffer || bufferSize == 0 || !bytesRead || !flags) return Fail(ERROR_INVALID_PARAMETER);
    std::shared_ptr<devemu::MsgQueue> queue = Queues().Find(handle);
    if (!queue || !queue->IsReader()) return Fail(ERROR_INVALID_HANDLE);
    // CE hands over the head of a message that is too long and reports success; this device
    // fails the read instead, the way the program's readers expect. The message is dropped
    // either way, so the read end does not stay signalled for a message nobody can take.
    const DWORD error = queue->Read(buffer, bufferSize, bytesRead, timeoutMs, flags);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL WINAPI WriteMsgQueue(HANDLE handle, void* data, DWORD size, DWORD timeoutMs, DWORD flags) {
    if (!data || size == 0 || (flags & ~MSGQUEUE_MSGALERT) != 0) return Fail(ERROR_INVALID_PARAMETER);
    std::shared_ptr<devemu::MsgQueue> queue = Queues().Find(handle);
    if (!queue || queue->IsReader()) return Fail(ERROR_INVALID_HANDLE);
    const DWORD error = queue->Write(data, size, timeoutMs, flags);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL WINAPI CloseMsgQueue(HANDLE handle) {
    return Queues().Remove(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

}  // extern "C"
