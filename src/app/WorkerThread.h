// The base of every object that owns a thread.
#pragma once

#include <atomic>

#include <windows.h>

#include "ce/Handle.h"

class WorkerThread {
public:
    WorkerThread() = default;
    virtual ~WorkerThread();

    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Creates the thread suspended, raises its priority, then lets it run Run().
    void Start();
    // Joins the thread without a time limit, if it is still marked running.
    void Wait();

    DWORD ThreadId() const { return threadId_; }
    bool IsRunning() const { return running_.load(); }

protected:
    virtual void Run() = 0;

private:
    static DWORD WINAPI ThreadEntry(void* self);

    // The thread entry clears running_ when Run returns; the handle itself stays owned here, so a
    // join racing with the end of the thread always waits on a valid handle.
    KernelHandle thread_;
    std::atomic<bool> running_{false};
    DWORD threadId_ = 0;
    bool raisePriority_ = true;
};
