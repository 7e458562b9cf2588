// The gesture's registry text: exact bytes of the stored form, and parsing that stays inside
// both buffers whatever the registry holds.
#include <climits>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "settings/GestureText.h"

namespace {

using testing::ElementsAreArray;

// A text made of the given units; the rest of the buffer is filled with `fill`.
GestureText Text(const std::u16string& units, char16_t fill = 0) {
    GestureText text;
    for (size_t i = 0; i < kGestureTextUnits; ++i) text.units[i] = i < units.size() ? units[i] : fill;
    return text;
}

std::u16string Units(const GestureText& text) {
    return std::u16string(text.units, text.units + GestureTextBytes(text) / 2);
}

std::vector<int32_t> Steps(const Gesture& g) {
    std::vector<int32_t> steps;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) steps.push_back(g.steps[i]);
    return steps;
}

Gesture GestureOf(std::initializer_list<int32_t> steps) {
    Gesture g{};
    int i = 0;
    for (int32_t s : steps) g.steps[i++] = s;
    return g;
}

TEST(GestureText, DefaultTextsAreTheStoredFormByteForByte) {
    const std::u16string lock(u"-90\0-90\0-90\0-45\0\0", 17);
    const std::u16string unlock(u"90\0" u"90\0" u"90\0" u"45\0\0", 13);
    EXPECT_EQ(Units(DefaultLockGestureText()), lock);
    EXPECT_EQ(GestureTextBytes(DefaultLockGestureText()), 34u);
    EXPECT_EQ(Units(DefaultUnlockGestureText()), unlock);
    EXPECT_EQ(GestureTextBytes(DefaultUnlockGestureText()), 26u);
    EXPECT_THAT(Steps(ParseGesture(DefaultLockGestureText())), ElementsAreArray({-90, -90, -90, -45}));
    EXPECT_THAT(Steps(ParseGesture(DefaultUnlockGestureText())), ElementsAreArray({90, 90, 90, 45}));
}

TEST(GestureText, FormatWritesEachStepWithItsTerminatorAndOneMore) {
    struct Case {
        Gesture gesture;
        std::u16string units;
    };
    const Case cases[] = {
        {GestureOf({45, -90, 180}), std::u16string(u"45\0-90\0" u"180\0\0", 12)},
        {GestureOf({}), std::u16string(u"\0", 1)},
        {GestureOf({90, 0, 45}), std::u16string(u"90\0\0", 4)},  // nothing after the first 0
        {GestureOf({-2147483647 - 1}), std::u16string(u"-2147483648\0\0", 13)},
    };
    for (const Case& c : cases) {
        const GestureText text = FormatGesture(c.gesture);
        EXPECT_EQ(Units(text), c.units);
        EXPECT_EQ(GestureTextBytes(text), 2 * c.units.size());
        EXPECT_EQ(Steps(ParseGesture(text)), Steps(c.gesture)) << "round trip";
    }
}

TEST(GestureText, ParseReadsEachStringAsWtolDoes) {
    struct Case {
        std::u16string units;
        std::vector<int32_t> steps;
    };
    const Case cases[] = {
        {std::u16string(u"90\0x\0" u"45\0\0", 9), {90}},   // "x" converts to 0 and ends the gesture
        {std::u16string(u" 45\0+90\0-45abc\0\0", 16), {45, 90, -45}},
        {std::u16string(u"\0" u"90\0\0", 5), {}},          // an empty list: no steps, not the default
        {std::u16string(u"99999999999\0-99999999999\0\0", 26), {INT_MAX, INT_MIN}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Steps(ParseGesture(Text(c.units))), c.steps);
    }
}

TEST(GestureText, ParseKeepsAtMost31StepsAndATerminator) {
    std::u16string units;
    for (int i = 0; i < 40; ++i) units += std::u16string(u"1\0", 2);
    const Gesture g = ParseGesture(Text(units));
    EXPECT_EQ(Steps(g).size(), 31u);
    EXPECT_EQ(g.steps[31], 0);
}

TEST(GestureText, ParseDropsAStringThatRunsPastTheBuffer) {
    // No terminator anywhere: every unit is a digit.
    EXPECT_TRUE(Steps(ParseGesture(Text(u"", u'9'))).empty());
    // Two good strings, then digits up to the end of the buffer.
    EXPECT_THAT(Steps(ParseGesture(Text(std::u16string(u"90\0-45\0", 7), u'4'))),
                ElementsAreArray({90, -45}));
    EXPECT_EQ(GestureTextBytes(Text(u"", u'9')), sizeof(GestureText));
}

TEST(GestureText, FormatOfStepsTooLongForTheBufferStopsAtAWholeString) {
    Gesture g{};
    for (int i = 0; i < kMaxGestureSteps; ++i) g.steps[i] = INT_MIN;  // 11 characters each
    const GestureText text = FormatGesture(g);
    EXPECT_LE(GestureTextBytes(text), sizeof(GestureText));
    const std::vector<int32_t> steps = Steps(ParseGesture(text));
    EXPECT_EQ(steps.size(), 13u);  // 13 strings of 12 units and the final 0 fill 157 of 161
    for (int32_t s : steps) EXPECT_EQ(s, INT_MIN);
}

}  // namespace
