#include "CallEvent.h"

#include <cstring>

namespace {

// The platform's LINEBEARERMODE_*, LINEMEDIAMODE_*, LINECALLSTATE_* and mode values.
constexpr uint32_t kVoiceBearers = 0x1 | 0x2;  // voice, speech
constexpr uint32_t kVoiceMedia = 0x4 | 0x8;    // interactive voice, automated voice
constexpr uint32_t kStateOffering = 0x2;
constexpr uint32_t kStateConnected = 0x100;
constexpr uint32_t kStateDisconnected = 0x4000;
constexpr uint32_t kModeActive = 1;  // offering and connected modes alike

}  // namespace

bool IsVoiceCall(uint32_t bearerMode, uint32_t mediaMode) {
    return (bearerMode & kVoiceBearers) != 0 && (mediaMode & kVoiceMedia) != 0;
}

CallEvent DecideCallEvent(uint32_t bearerMode, uint32_t mediaMode, uint32_t state, uint32_t mode) {
    if (!IsVoiceCall(bearerMode, mediaMode)) return TAPI_NONE;
    if (state == kStateOffering && mode == kModeActive) return TAPI_INCOMING_CALL;
    if (state == kStateConnected && mode == kModeActive) return TAPI_CONNECTED;
    if (state == kStateDisconnected) return TAPI_DISCONNECTED;
    return TAPI_NONE;
}

bool RecordStringEquals(const uint8_t* record, uint32_t recordSize, uint32_t offset, uint32_t size,
                        std::u16string_view expected) {
    const size_t textBytes = expected.size() * sizeof(char16_t);
    const uint64_t bytes = textBytes + sizeof(char16_t);
    if (size < bytes || uint64_t{offset} + bytes > recordSize) return false;
    char16_t terminator;
    std::memcpy(&terminator, record + offset + textBytes, sizeof terminator);
    return std::memcmp(record + offset, expected.data(), textBytes) == 0 && terminator == 0;
}
