// The gesture's registry text: exact bytes of the stored form, and parsing that stays inside
// both buffers whatever the registry holds.
#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>

#include "settings/GestureText.h"

namespace {

std::vector<int32_t> Steps(const Gesture& g) {
    std::vector<int32_t> steps;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) steps.push_back(g.steps[i]);
    return steps;
}

std::u16string Units(const GestureText& text) {
    return std::u16string(text.units, text.units + GestureTextBytes(text) / 2);
}

TEST(GestureText, ParseReadsEachStringAsWtolDoesAndFormatWritesWholeStringsThatFit) {
    std::u16string ones;
    for (int i = 0; i < 40; ++i) ones += std::u16string(u"1\0", 2);
    // A text's units, what fills the rest; the steps parsed; whether FormatGesture writes those units.
    const std::tuple<std::u16string, char16_t, std::vector<int32_t>, bool> cases[] = {
        {std::u16string(u"45\0-90\0" u"180\0\0", 12), 0, {45, -90, 180}, true},
        {std::u16string(u"90\0\0", 4), 0, {90, 0, 45}, true},  // nothing after the first 0
        {std::u16string(u"-2147483648\0\0", 13), 0, {INT_MIN}, true},
        {std::u16string(u"\0", 1), 0, {}, true},  // an empty list: no steps
        {std::u16string(u"90\0x\0" u"45\0\0", 9), 0, {90}, false},  // "x" converts to 0 and ends the gesture
        {std::u16string(u" 45\0+90\0-45abc\0\0", 16), 0, {45, 90, -45}, false},
        {std::u16string(u"99999999999\0-99999999999\0\0", 26), 0, {INT_MAX, INT_MIN}, false},
        {ones, 0, std::vector<int32_t>(31, 1), false},  // 31 steps and the terminator at most
        {u"", u'9', {}, false},                        // no terminator anywhere
        {std::u16string(u"90\0-45\0", 7), u'4', {90, -45}, false},  // the last string runs past the end
    };
    for (const auto& [units, fill, steps, formatted] : cases) {
        GestureText text;
        for (size_t i = 0; i < kGestureTextUnits; ++i) text.units[i] = i < units.size() ? units[i] : fill;
        Gesture g{};
        std::copy(steps.begin(), steps.end(), g.steps);
        EXPECT_EQ(Steps(ParseGesture(text)), Steps(g));
        if (!formatted) continue;
        EXPECT_EQ(Units(FormatGesture(g)), units);
    }
    // 31 strings of 12 units would not fit: 13 whole ones and the final 0 fill 157 of 161 units.
    Gesture longest{};
    std::fill_n(longest.steps, kMaxGestureSteps, INT_MIN);
    EXPECT_EQ(Steps(ParseGesture(FormatGesture(longest))), std::vector<int32_t>(13, INT_MIN));
}

}  // namespace
