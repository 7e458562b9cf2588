#include "LockCommand.h"

namespace {

constexpr uint32_t kActionMask = 0x0007;
constexpr uint32_t kBeepMask = 0x3000;
constexpr uint32_t kBeepAsSet = 0x1000;
constexpr uint32_t kVibrateMask = 0xC000;
constexpr uint32_t kVibrateAsSet = 0x4000;

FeedbackRequest DecodeFeedback(uint32_t bits, uint32_t asSet) {
    return {bits != 0, bits != 0 && bits != asSet};
}

}  // namespace

LockCommand DecodeLockCommand(uint32_t word) {
    LockCommand command;
    const uint32_t action = word & kActionMask;
    command.action = action > CMD_GESTURE_LOCK ? CMD_LOCK_ALL : static_cast<LockCommandAction>(action);
    command.isLock = command.action != CMD_UNLOCK;
    command.vibrate = DecodeFeedback(word & kVibrateMask, kVibrateAsSet);
    command.beep = DecodeFeedback(word & kBeepMask, kBeepAsSet);
    return command;
}
