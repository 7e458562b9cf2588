// A gesture as registry text: a REG_MULTI_SZ of signed decimal angles.
#pragma once

#include <cstddef>

#include "gesture/Gesture.h"

constexpr size_t kGestureTextUnits = 161;

struct GestureText {
    char16_t units[kGestureTextUnits];
};
static_assert(sizeof(GestureText) == 322);

// The stored text of the default gestures.
GestureText DefaultLockGestureText();
GestureText DefaultUnlockGestureText();

// Reads the strings up to the empty one, each as _wtol would, into at most 31 steps and a 0.
// A string not ended within the buffer is dropped, as are strings beyond the 31st.
Gesture ParseGesture(const GestureText& text);

// Writes each step up to the first 0, then the empty string. Steps that would not fit in the
// buffer together with the final terminator are left out.
GestureText FormatGesture(const Gesture& gesture);

// Bytes of a formatted text: its strings with their terminators, and the final terminator.
size_t GestureTextBytes(const GestureText& text);
