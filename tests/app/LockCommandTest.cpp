// The command word of WM_APP_LOCK_COMMAND taken apart: action, and vibration and beep each as
// none, as the settings say, or forced.
#include <gmock/gmock.h>

#include "app/LockCommand.h"

namespace {

struct Case {
    uint32_t word;
    LockCommandAction action;
    bool isLock;
    FeedbackRequest vibrate, beep;
};

constexpr FeedbackRequest kNone{false, false};
constexpr FeedbackRequest kAsSet{true, false};
constexpr FeedbackRequest kForced{true, true};

const Case kCases[] = {
    {0x0000, CMD_UNLOCK, false, kNone, kNone},
    {0x0002, CMD_LOCK_ALL, true, kNone, kNone},
    {0x0003, CMD_RESUME_ACTION, true, kNone, kNone},
    {0x0004, CMD_GESTURE_LOCK, true, kNone, kNone},
    {0x0005, CMD_LOCK_ALL, true, kNone, kNone},
    // Bits 3-11 are not used.
    {0x0FF8, CMD_UNLOCK, false, kNone, kNone},
    // The feedback fields, each value of each.
    {0x1000, CMD_UNLOCK, false, kNone, kAsSet},
    {0x2000, CMD_UNLOCK, false, kNone, kForced},
    {0x3000, CMD_UNLOCK, false, kNone, kForced},
    {0x4000, CMD_UNLOCK, false, kAsSet, kNone},
    {0x8000, CMD_UNLOCK, false, kForced, kNone},
    {0xC001, CMD_LOCK_PANEL, true, kForced, kNone},
    // Above the 16 bits nothing counts: as set, as set.
    {0xFFFF5000, CMD_UNLOCK, false, kAsSet, kAsSet},
};

TEST(LockCommandTest, EveryFieldOfTheWord) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << "0x" << c.word);
        const LockCommand command = DecodeLockCommand(c.word);
        EXPECT_EQ(command.action, c.action);
        EXPECT_EQ(command.isLock, c.isLock);
        EXPECT_EQ(command.vibrate.wanted, c.vibrate.wanted);
        EXPECT_EQ(command.vibrate.force, c.vibrate.force);
        EXPECT_EQ(command.beep.wanted, c.beep.wanted);
        EXPECT_EQ(command.beep.force, c.beep.force);
    }
}

}  // namespace
