// Calls: the incoming-call window after the last resume, and the unlocks at the connect and at
// the end of a call, decided by the sequence of call events.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ControllerFixture.h"
#include "settings/Settings.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::LogCount;
using test::Play;
using test::PlayAll;

using CallTest = ControllerTest;

TEST_F(CallTest, AnOfferWithin10000MsOfTheLastResumeAppliesResumeCallBehaviour) {
    Start({{L"ResumeCallBehaviour", LockEverything}});
    Play({L"clock", L"hold"});
    struct Row {
        const char* what;
        std::optional<uint32_t> wakeAt;
        uint32_t offerAt;
        bool applies;
    };
    // In this order: the first rows come before any resume, which counts as one at uptime 0.
    const Row rows[] = {
        {"no resume yet, 10000 ms of uptime", std::nullopt, 10000, true},
        {"no resume yet, 10001 ms of uptime", std::nullopt, 10001, false},
        {"10000 ms after", 5000000, 5010000, true},
        {"10001 ms after", 6000000, 6010001, false},
        {"8192 ms after, across the wrap", 0xFFFFF000, 0x00001000, true},
        {"before the resume: the difference is signed", 7000000, 6950000, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.wakeAt) {
            Play({L"clock", std::to_wstring(*row.wakeAt)});
            const uint64_t woken = LogCount();
            Wake();  // locks the panel
            ASSERT_EQ(WaitForLockEvents(woken, 2).size(), 2u);
        }
        Play({L"clock", std::to_wstring(row.offerAt)});
        const uint64_t since = LogCount();
        // The connect of the offered call unlocks, after the offer has been handled.
        PlayAll({{L"call", L"incoming"}, {L"call", L"connect"}});
        const Strings expected = row.applies ? Strings{"input-lock enable=0", "input-lock enable=1"}
                                             : Strings{"input-lock enable=1"};
        ASSERT_GE(WaitForCount("input-lock", expected.size(), since), 0);
        EXPECT_EQ(test::Events(since, "input-lock"), expected);
        Play({L"call", L"disconnect"});
    }
}

// Each step is a call event, or "lock" (a command locking everything); after each call event,
// whether the phone is still locked.
struct Step {
    const wchar_t* event;
    bool lockedAfter;
};

struct SequenceCase {
    const char* what;
    std::vector<Step> steps;
};
void PrintTo(const SequenceCase& c, std::ostream* out) { *out << c.what; }

class CallSequenceTest : public ControllerTest, public testing::WithParamInterface<SequenceCase> {};

TEST_P(CallSequenceTest, UnlocksAtTheConnectOfAnOfferAndAtTheEndOfAnOutgoingCall) {
    // No offer comes within 10 s of a resume here; the power line is the probe of the state.
    Start({{L"RelockOnBattery", 1}});
    Command(2);
    for (const Step& step : GetParam().steps) {
        SCOPED_TRACE(test::Narrow(step.event));
        if (std::wstring(step.event) == L"lock") {
            Command(2);
            continue;
        }
        Play({L"call", step.event});
        EXPECT_EQ(ProbeLockedAll(), step.lockedAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CallSequenceTest,
    testing::Values(
        // The answer unlocks; the end does not (the sequence is 3 there).
        SequenceCase{"answered", {{L"incoming", true}, {L"connect", false}, {L"lock", true}, {L"disconnect", true}}},
        SequenceCase{"outgoing", {{L"connect", true}, {L"disconnect", false}}},
        SequenceCase{"offered twice", {{L"incoming", true}, {L"incoming", true}, {L"connect", true}, {L"disconnect", true}}},
        SequenceCase{"missed", {{L"incoming", true}, {L"disconnect", true}, {L"connect", true}, {L"disconnect", false}}}),
    [](const testing::TestParamInfo<SequenceCase>& info) {
        std::string name = info.param.what;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name;
    });

}  // namespace
