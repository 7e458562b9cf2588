#include "CommandWorker.h"

#include "Device.h"

namespace devemu {

CommandWorker::CommandWorker() : thread_([this](std::stop_token stop) { Loop(stop); }) {}

CommandWorker::~CommandWorker() {
    thread_.request_stop();
    wake_.notify_all();
}

void CommandWorker::Run(Args args) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(args));
    }
    wake_.notify_all();
}

bool CommandWorker::Idle() const {
    std::lock_guard lock(mutex_);
    return waiting_.empty() && !busy_;
}

std::string CommandWorker::LastOutcome() const {
    std::lock_guard lock(mutex_);
    return outcome_;
}

void CommandWorker::Loop(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return !waiting_.empty(); })) {
        const Args args = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        Io io;
        const int code = RunConsole(args, io);
        std::string outcome = "devemu";
        for (const std::wstring& a : args) outcome += " " + Utf8(a);
        if (code != 0) {
            const std::string error = io.err.substr(0, io.err.find('\n'));
            outcome += ": " + (error.rfind("devemu: ", 0) == 0 ? error.substr(8) : error);
        }
        lock.lock();
        outcome_ = outcome;
        busy_ = false;
    }
}

}  // namespace devemu
