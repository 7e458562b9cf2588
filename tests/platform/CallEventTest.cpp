// The call monitor's decisions on plain call modes and states, and its line name match.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "platform/CallEvent.h"

namespace {

constexpr uint32_t kVoice = 1, kSpeech = 2, kData = 8;
constexpr uint32_t kInteractive = 4, kAutomated = 8, kModem = 0x10;
constexpr uint32_t kOffering = 0x2, kConnected = 0x100, kDisconnected = 0x4000;

TEST(CallEventTest, ActiveStatesOfVoiceCallsAreReportedAndNothingElse) {
    struct Case {
        uint32_t bearer, media, state, mode;
        CallEvent expected;
    };
    const Case cases[] = {
        {kVoice, kInteractive, kOffering, 1, TAPI_INCOMING_CALL},
        {kVoice, kInteractive, kOffering, 2, TAPI_NONE},  // inactive offering
        {kSpeech, kAutomated, kConnected, 1, TAPI_CONNECTED},
        {kVoice, kInteractive, kConnected, 4, TAPI_NONE},  // held by a conference
        {kVoice, kInteractive, kDisconnected, 0x20, TAPI_DISCONNECTED},  // in any mode
        {kVoice, kInteractive, kOffering | kConnected, 1, TAPI_NONE},
        {kVoice | kData, kInteractive | kModem, kConnected, 1, TAPI_CONNECTED},
        {kData, kInteractive, kConnected, 1, TAPI_NONE},
        {kVoice, kModem, kDisconnected, 1, TAPI_NONE},
        {0, 0, kDisconnected, 1, TAPI_NONE},  // what a failed call information query gives
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideCallEvent(c.bearer, c.media, c.state, c.mode), c.expected)
            << std::hex << "bearer 0x" << c.bearer << ", media 0x" << c.media << ", state 0x"
            << c.state << ", mode 0x" << c.mode;
    }
}

// A record with `text` (UTF-16, terminator included unless cut) at offset 8.
std::vector<uint8_t> Record(const std::u16string& text, size_t cut = 0) {
    std::vector<uint8_t> record(8 + (text.size() + 1) * 2 - cut, 0xEE);
    std::memcpy(record.data() + 8, text.c_str(), record.size() - 8);
    return record;
}

TEST(CallEventTest, TheLineNameMatchesExactlyWithItsTerminatorInsideTheRecord) {
    const std::u16string name = u"Cellular Line";
    const uint32_t nameSize = static_cast<uint32_t>((name.size() + 1) * 2);
    struct Case {
        std::vector<uint8_t> record;
        uint32_t offset, size;
        bool match;
        const char* what;
    };
    const Case cases[] = {
        {Record(name), 8, nameSize, true, "exact"},
        {Record(u"cellular line"), 8, nameSize, false, "other letter case"},
        {Record(u"Cellular Line 2"), 8, nameSize + 4, false, "longer name"},
        {Record(u"Cellular Lin"), 8, nameSize - 2, false, "shorter name"},
        {Record(name, 2), 8, nameSize, false, "terminator outside the record"},
        {Record(name), 8, nameSize - 2, false, "size without the terminator"},
        {Record(name), 0xFFFFFFF0, nameSize, false, "offset beyond the record"},
    };
    for (const Case& c : cases) {
        const uint32_t size = static_cast<uint32_t>(c.record.size());
        EXPECT_EQ(RecordStringEquals(c.record.data(), size, c.offset, c.size, name), c.match)
            << c.what;
    }
}

}  // namespace
