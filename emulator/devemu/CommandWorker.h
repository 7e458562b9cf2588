// Console commands run one after the other on a thread of their own, so that a long one (a turn
// at a human rate) never holds up the window that asked for it.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "Console.h"

namespace devemu {

class CommandWorker {
public:
    CommandWorker();
    ~CommandWorker();  // lets the command under way finish, drops the rest
    CommandWorker(const CommandWorker&) = delete;
    CommandWorker& operator=(const CommandWorker&) = delete;

    void Run(Args args);
    // Nothing waiting and nothing under way.
    bool Idle() const;
    // "devemu <args>" of the last command done, with its error line if it failed.
    std::string LastOutcome() const;

private:
    void Loop(std::stop_token stop);

    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    std::deque<Args> waiting_;
    bool busy_ = false;
    std::string outcome_;
    std::jthread thread_;  // last: it starts once everything it uses is there
};

}  // namespace devemu
