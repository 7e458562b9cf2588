#include "WorkerThread.h"

WorkerThread::~WorkerThread() { Wait(); }

void WorkerThread::Start() {
    thread_.reset(CreateThread(nullptr, 0, ThreadEntry, this, CREATE_SUSPENDED, &threadId_));
    if (!thread_) return;
    running_ = true;
    if (raisePriority_) SetThreadPriority(thread_.get(), THREAD_PRIORITY_ABOVE_NORMAL);
    ResumeThread(thread_.get());
}

void WorkerThread::Wait() {
    if (running_.load()) WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI WorkerThread::ThreadEntry(void* self) {
    auto* worker = static_cast<WorkerThread*>(self);
    worker->Run();
    worker->running_ = false;
    return 0;
}
