// Per-process state behind the handles that the emulated coredll hands out, found again by
// handle. Entries are shared, so a call still running on one thread keeps its entry alive while
// another thread closes the handle.
#pragma once

#include <map>
#include <memory>

#include <windows.h>

template <class Key, class T>
class HandleTable {
public:
    void Add(Key key, std::shared_ptr<T> value) {
        AcquireSRWLockExclusive(&lock_);
        entries_[key] = std::move(value);
        ReleaseSRWLockExclusive(&lock_);
    }
    std::shared_ptr<T> Find(Key key) {
        AcquireSRWLockShared(&lock_);
        auto it = entries_.find(key);
        std::shared_ptr<T> value = it == entries_.end() ? nullptr : it->second;
        ReleaseSRWLockShared(&lock_);
        return value;
    }
    // The entry taken out of the table, or null when there was none.
    std::shared_ptr<T> Remove(Key key) {
        AcquireSRWLockExclusive(&lock_);
        std::shared_ptr<T> value;
        auto it = entries_.find(key);
        if (it != entries_.end()) {
            value = std::move(it->second);
            entries_.erase(it);
        }
        ReleaseSRWLockExclusive(&lock_);
        return value;
    }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::map<Key, std::shared_ptr<T>> entries_;
};
