#include "MsgQueue.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "Device.h"

namespace devemu {
namespace {

// Each message is stored as its length, the writer's flags, then its bytes.
constexpr uint32_t kRecordHeader = 8;
// A queue without a count limit still lives in a mapping of fixed size.
constexpr uint64_t kUnlimitedCapacity = 1 << 20;
constexpr uint64_t kMaxCapacity = 16 << 20;

class QueueLock {
public:
    explicit QueueLock(HANDLE mutex) : mutex_(mutex) { WaitForSingleObject(mutex_, INFINITE); }
    ~QueueLock() { ReleaseMutex(mutex_); }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;

private:
    HANDLE mutex_;
};

// The kernel objects of one queue; an unnamed queue's objects have no names.
struct ObjectNames {
    explicit ObjectNames(const wchar_t* queue) : named(queue != nullptr) {
        if (!named) return;
        const std::wstring base = ObjectName(std::wstring(L"msgq/") + queue);
        mutex = base + L"/lock";
        mapping = base + L"/data";
        read = base + L":R";
        write = base + L":W";
    }
    const wchar_t* operator()(const std::wstring& name) const { return named ? name.c_str() : nullptr; }

    bool named;
    std::wstring mutex, mapping, read, write;
};

}  // namespace

// Written once by the queue's creator, under the lock, before any other end can see it.
struct MsgQueue::Header {
    uint32_t maxMessages;
    uint32_t maxMessage;  // the creator's: the write end shows room while one such message fits
    uint32_t capacity;    // bytes of the ring that follows the header
    uint32_t head;        // offset of the oldest message
    uint32_t used;
    uint32_t count;
};

MsgQueue::~MsgQueue() {
    if (header_) UnmapViewOfFile(header_);
}

std::unique_ptr<MsgQueue> MsgQueue::Create(const wchar_t* name, const Options& options,
                                           DWORD* error, bool* existed) {
    const ObjectNames names(name);
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, names(names.mutex)));
    if (!mutex) {
        *error = GetLastError();
        return nullptr;
    }
    QueueLock lock(mutex.get());
    const uint64_t record = kRecordHeader + uint64_t{options.maxMessage};
    const uint64_t capacity = std::min(
        kMaxCapacity, options.maxMessages ? options.maxMessages * record
                                          : std::max(kUnlimitedCapacity, record));
    KernelHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(sizeof(Header) + capacity),
                                            names(names.mapping)));
    *existed = mapping && GetLastError() == ERROR_ALREADY_EXISTS;
    std::unique_ptr<MsgQueue> queue = Attach(name, std::move(mapping), options.reader, options.maxMessage, error);
    if (!queue) return nullptr;
    if (!*existed) {
        *queue->header_ = Header{options.maxMessages, options.maxMessage, static_cast<uint32_t>(capacity), 0, 0, 0};
        queue->UpdateEvents();
    }
    queue->mutex_ = std::move(mutex);  // still locked here: released through the same handle
    return queue;
}

std::unique_ptr<MsgQueue> MsgQueue::OpenWriter(const std::wstring& name, uint32_t maxMessage,
                                               DWORD* error) {
    const ObjectNames names(name.c_str());
    KernelHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, names.mapping.c_str()));
    KernelHandle mutex(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, names.mutex.c_str()));
    if (!mapping || !mutex) {
        *error = GetLastError();
        return nullptr;
    }
    std::unique_ptr<MsgQueue> queue = Attach(name.c_str(), std::move(mapping), false, maxMessage, error);
    if (queue) queue->mutex_ = std::move(mutex);
    return queue;
}

bool MsgQueue::Exists(const std::wstring& name) {
    KernelHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, ObjectNames(name.c_str()).mapping.c_str()));
    return mapping.valid();
}

// Takes over the mapping and opens the ends' events. The mapping's handle stays open with the end:
// under Wine a view alone does not keep the name, and the next opener would get a new queue.
std::unique_ptr<MsgQueue> MsgQueue::Attach(const wchar_t* name, KernelHandle mapping, bool reader,
                                           uint32_t maxMessage, DWORD* error) {
    if (!mapping) {
        *error = GetLastError();
        return nullptr;
    }
    std::unique_ptr<MsgQueue> queue(new MsgQueue);
    const ObjectNames names(name);
    queue->name_ = name ? name : L"";
    queue->reader_ = reader;
    queue->maxMessage_ = maxMessage;
    void* view = MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 0);
    queue->mapping_ = std::move(mapping);
    queue->header_ = static_cast<Header*>(view);
    queue->ring_ = static_cast<uint8_t*>(view) + sizeof(Header);
    // A fresh queue starts empty (read end clear) with room (write end set).
    queue->readEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, names(names.read)));
    queue->writeEvent_.reset(CreateEventW(nullptr, TRUE, TRUE, names(names.write)));
    if (!view || !queue->readEvent_ || !queue->writeEvent_) {
        *error = GetLastError();
        return nullptr;
    }
    return queue;
}

void MsgQueue::CopyOut(uint32_t offset, void* to, uint32_t size) const {
    const uint32_t capacity = header_->capacity;
    offset %= capacity;
    const uint32_t first = std::min(size, capacity - offset);
    std::memcpy(to, ring_ + offset, first);
    std::memcpy(static_cast<uint8_t*>(to) + first, ring_, size - first);
}

void MsgQueue::CopyIn(uint32_t offset, const void* from, uint32_t size) {
    const uint32_t capacity = header_->capacity;
    offset %= capacity;
    const uint32_t first = std::min(size, capacity - offset);
    std::memcpy(ring_ + offset, from, first);
    std::memcpy(ring_, static_cast<const uint8_t*>(from) + first, size - first);
}

// Called with the lock held after every change, so the events always match the contents.
void MsgQueue::UpdateEvents() {
    const Header& h = *header_;
    if (h.count > 0) SetEvent(readEvent_.get());
    else ResetEvent(readEvent_.get());
    const bool room = (h.maxMessages == 0 || h.count < h.maxMessages) &&
                      h.capacity - h.used >= kRecordHeader + h.maxMessage;
    if (room) SetEvent(writeEvent_.get());
    else ResetEvent(writeEvent_.get());
}

template <class Attempt>
DWORD MsgQueue::Retry(HANDLE wake, DWORD timeoutMs, Attempt&& attempt) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        {
            QueueLock lock(mutex_.get());
            if (std::optional<DWORD> result = attempt()) return *result;
        }
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            if (elapsed >= timeoutMs) return ERROR_TIMEOUT;
            wait = static_cast<DWORD>(timeoutMs - elapsed);
        }
        // The write end shows room for the creator's longest message; a writer with a longer
        // one may find it signalled and still blocked, so it must not spin on it.
        if (WaitForSingleObject(wake, wait) == WAIT_OBJECT_0 && !reader_) Sleep(1);
    }
}

DWORD MsgQueue::Read(void* buffer, DWORD size, DWORD* bytesRead, DWORD timeoutMs, DWORD* flags) {
    return Retry(readEvent_.get(), timeoutMs, [&]() -> std::optional<DWORD> {
        Header& h = *header_;
        if (h.count == 0) return std::nullopt;
        uint32_t record[2];
        CopyOut(h.head, record, sizeof record);
        const uint32_t length = record[0];
        if (length <= size) CopyOut(h.head + kRecordHeader, buffer, length);
        h.head = (h.head + kRecordHeader + length) % h.capacity;
        h.used -= kRecordHeader + length;
        --h.count;
        UpdateEvents();
        *bytesRead = length;
        *flags = record[1];
        return length <= size ? ERROR_SUCCESS : ERROR_INSUFFICIENT_BUFFER;
    });
}

DWORD MsgQueue::Write(const void* data, DWORD size, DWORD timeoutMs, DWORD flags) {
    if (size > maxMessage_) return ERROR_INSUFFICIENT_BUFFER;
    if (kRecordHeader + uint64_t{size} > header_->capacity) return ERROR_OUTOFMEMORY;
    return Retry(writeEvent_.get(), timeoutMs, [&]() -> std::optional<DWORD> {
        Header& h = *header_;
        if ((h.maxMessages != 0 && h.count >= h.maxMessages) ||
            h.capacity - h.used < kRecordHeader + size) {
            return std::nullopt;
        }
        const uint32_t record[2] = {size, flags};
        const uint32_t tail = h.head + h.used;
        CopyIn(tail, record, sizeof record);
        CopyIn(tail + kRecordHeader, data, size);
        h.used += kRecordHeader + size;
        ++h.count;
        UpdateEvents();
        return ERROR_SUCCESS;
    });
}

}  // namespace devemu
