// One end of a point-to-point message queue, shared by every process of the device: a named
// file mapping holding a ring of messages, a named mutex over it, and a manual-reset event per
// end. The read end's event is signalled exactly while messages wait, the write end's while
// there is room, so either event is the end's waitable handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

#include "ce/Handle.h"

namespace devemu {

class MsgQueue {
public:
    struct Options {
        uint32_t maxMessages;  // 0: no limit
        uint32_t maxMessage;   // longest message this end writes
        bool reader;
    };

    // The end of the queue `name` (null: a queue of its own), created when it does not exist.
    // Null with *error set on failure; *existed tells whether the queue was there before.
    static std::unique_ptr<MsgQueue> Create(const wchar_t* name, const Options& options,
                                            DWORD* error, bool* existed);
    // A write end of an existing queue only: a queue nobody holds any more is not brought back.
    static std::unique_ptr<MsgQueue> OpenWriter(const std::wstring& name, uint32_t maxMessage,
                                                DWORD* error);

    // Whether some process still holds an end of the named queue.
    static bool Exists(const std::wstring& name);

    ~MsgQueue();
    MsgQueue(const MsgQueue&) = delete;
    MsgQueue& operator=(const MsgQueue&) = delete;

    HANDLE Handle() const { return reader_ ? readEvent_.get() : writeEvent_.get(); }
    bool IsReader() const { return reader_; }
    const std::wstring& Name() const { return name_; }

    // Both return 0 or a Win32 error code. A message longer than `size` is dropped and fails
    // the read with ERROR_INSUFFICIENT_BUFFER (*bytesRead gets its length). An empty queue at
    // the end of the time-out fails with ERROR_TIMEOUT; a time-out of 0 never waits.
    DWORD Read(void* buffer, DWORD size, DWORD* bytesRead, DWORD timeoutMs, DWORD* flags);
    DWORD Write(const void* data, DWORD size, DWORD timeoutMs, DWORD flags);

private:
    struct Header;
    MsgQueue() = default;
    static std::unique_ptr<MsgQueue> Attach(const wchar_t* name, KernelHandle mapping, bool reader,
                                            uint32_t maxMessage, DWORD* error);
    enum class Step { Done, Blocked };
    // Runs `attempt` under the queue's lock until it is done or the time-out ends, waiting on
    // `wake` between attempts.
    template <class Attempt>
    DWORD Retry(HANDLE wake, DWORD timeoutMs, Attempt&& attempt);
    void CopyOut(uint32_t offset, void* to, uint32_t size) const;
    void CopyIn(uint32_t offset, const void* from, uint32_t size);
    void UpdateEvents();

    std::wstring name_;
    bool reader_ = false;
    uint32_t maxMessage_ = 0;
    KernelHandle mapping_;
    KernelHandle mutex_;
    KernelHandle readEvent_;
    KernelHandle writeEvent_;
    Header* header_ = nullptr;  // the mapped view
    uint8_t* ring_ = nullptr;
};

}  // namespace devemu
