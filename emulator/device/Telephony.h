// The device's telephony as every process sees it: the line applications' message queues live in
// the device state, and each application has a named manual-reset event, signalled exactly while
// its queue holds messages. The application's process creates the event; the console signals it
// after appending a message. Every function here runs with the device's lock held.
#pragma once

#include <cstdint>
#include <string>

#include "Device.h"

namespace devemu {

// The line device of the phone's radio: every call happens there.
constexpr uint32_t kCellularDevice = 1;

std::wstring LineAppEventName(uint32_t app);

// The current call, or null when there has been none since the reset.
CallRecord* CurrentCall(TapiState& tapi);
const CallRecord* CurrentCall(const TapiState& tapi);
// A new current call; the oldest of the recent calls makes room.
CallRecord& StartCall(TapiState& tapi, uint32_t bearerMode, uint32_t mediaMode, uint32_t origin);
// A recent call by handle, or null.
const CallRecord* FindCall(const TapiState& tapi, uint32_t handle);

// Sends LINE_CALLSTATE for `call` to every application monitoring the radio's line and records
// the state in the call. An application whose process has gone (its event no longer exists) is
// dropped. Returns the number of applications reached; a full queue is not reached.
int PostCallState(TapiState& tapi, CallRecord& call, uint32_t state, uint32_t mode, uint32_t privilege);

}  // namespace devemu
