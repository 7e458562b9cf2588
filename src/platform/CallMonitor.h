// Voice calls on the phone's "Cellular Line", watched through TAPI with monitor privilege only:
// an incoming call offered, a call connected, a call disconnected. Built, read and destroyed on
// the lock controller's thread only.
#pragma once

#include <cstdlib>
#include <memory>

#include <windows.h>

#include "CallEvent.h"
#include "ce/Telephony.h"

class CallMonitor {
public:
    // Initialises telephony, finds the line and opens it; reports no failure.
    CallMonitor();
    virtual ~CallMonitor() = default;

    CallMonitor(const CallMonitor&) = delete;
    CallMonitor& operator=(const CallMonitor&) = delete;

    // Signalled while line messages wait; INVALID_HANDLE_VALUE when telephony is not there.
    HANDLE EventHandle() const { return eventHandle_; }
    // The first event of interest among the waiting messages, or TAPI_NONE once none is left.
    // Never blocks; call it until it returns TAPI_NONE.
    CallEvent ReadCallEvent();

private:
    struct FreeDeleter {
        void operator()(void* block) const { std::free(block); }
    };
    using DevCaps = std::unique_ptr<LINEDEVCAPS, FreeDeleter>;

    // One line device's capabilities, grown until they fit; null when they cannot be had.
    DevCaps GetLineDevCaps(DWORD device) const;

    // Destroyed in reverse: the line is closed before telephony is shut down.
    LineApp lineApp_;
    HANDLE eventHandle_ = INVALID_HANDLE_VALUE;  // belongs to TAPI: lineShutdown ends it
    Line line_;
    DWORD deviceId_ = LINEMAPPER;
};
