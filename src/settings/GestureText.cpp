#include "GestureText.h"

#include <cstdint>
#include <limits>

namespace {

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// _wtol: leading blanks, an optional sign, digits up to the first other character; no digits
// gives 0 and overflow saturates, as the C library's conversion does.
int32_t ToLong(const char16_t* s, const char16_t* end) {
    while (s < end && IsSpace(*s)) ++s;
    bool negative = false;
    if (s < end && (*s == u'-' || *s == u'+')) negative = *s++ == u'-';
    int64_t value = 0;
    for (; s < end && *s >= u'0' && *s <= u'9'; ++s) {
        value = value * 10 + (*s - u'0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) break;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

GestureText TextOf(const char16_t* units, size_t count) {
    GestureText text{};
    for (size_t i = 0; i < count; ++i) text.units[i] = units[i];
    return text;
}

}  // namespace

GestureText DefaultLockGestureText() {
    static const char16_t units[] = u"-90\0-90\0-90\0-45\0";  // plus the literal's own 0
    return TextOf(units, sizeof units / sizeof units[0]);
}

GestureText DefaultUnlockGestureText() {
    static const char16_t units[] = u"90\0" u"90\0" u"90\0" u"45\0";
    return TextOf(units, sizeof units / sizeof units[0]);
}

Gesture ParseGesture(const GestureText& text) {
    Gesture gesture{};
    const char16_t* const end = text.units + kGestureTextUnits;
    const char16_t* s = text.units;
    int count = 0;
    while (count < kMaxGestureSteps && s < end && *s != 0) {
        const char16_t* stop = s;
        while (stop < end && *stop != 0) ++stop;
        if (stop == end) break;  // not terminated within the buffer
        gesture.steps[count++] = ToLong(s, stop);
        s = stop + 1;
    }
    gesture.steps[count] = 0;
    return gesture;
}

GestureText FormatGesture(const Gesture& gesture) {
    GestureText text{};
    size_t used = 0;
    for (int i = 0; i < kMaxGestureSteps && gesture.steps[i] != 0; ++i) {
        char16_t digits[12];
        size_t n = 0;
        const int32_t value = gesture.steps[i];
        uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        do {
            digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) digits[n++] = u'-';
        if (used + n + 1 + 1 > kGestureTextUnits) break;  // the string, its 0 and the final 0
        while (n > 0) text.units[used++] = digits[--n];
        text.units[used++] = 0;
    }
    text.units[used] = 0;
    return text;
}

size_t GestureTextBytes(const GestureText& text) {
    size_t i = 0;
    while (i < kGestureTextUnits && text.units[i] != 0) {
        while (i < kGestureTextUnits && text.units[i] != 0) ++i;
        if (i < kGestureTextUnits) ++i;  // the string's terminator
    }
    if (i < kGestureTextUnits) ++i;  // the final terminator
    return 2 * i;
}
