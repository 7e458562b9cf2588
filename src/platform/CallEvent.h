// What the call monitor reports, and how it is decided from a call-state message and the call's
// modes. Plain values only, so the decisions are tested without a device.
#pragma once

#include <cstdint>
#include <string_view>

enum CallEvent : uint32_t {
    TAPI_NONE = 0,
    TAPI_INCOMING_CALL = 1,
    TAPI_CONNECTED = 2,
    TAPI_DISCONNECTED = 3,
};

// A voice or speech bearer together with an interactive or automated voice medium.
bool IsVoiceCall(uint32_t bearerMode, uint32_t mediaMode);

// The event of a call-state message (new state, the state's mode) about a call with these modes:
// an actively offered, actively connected or disconnected voice call; nothing else.
CallEvent DecideCallEvent(uint32_t bearerMode, uint32_t mediaMode, uint32_t state, uint32_t mode);

// Whether the UTF-16 string of `size` bytes at `offset` in a record of `recordSize` bytes is
// `expected` exactly, in letter case too, up to and including its terminator. A string that lies
// partly outside the record does not match.
bool RecordStringEquals(const uint8_t* record, uint32_t recordSize, uint32_t offset, uint32_t size,
                        std::u16string_view expected);
