// What labels and section headers draw, read back pixel by pixel from memory bitmaps. The link
// button is looked at on the sample screen, in its own window.
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "ui/Label.h"

namespace {

using uitest::Bitmap;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kMarker = RGB(0, 255, 0);  // never drawn by the program: "left alone"

// Five by five pixels of a corner, read row by row from (x, y) inwards, `dx` and `dy` each 1 or
// -1: '#' grey, '.' anything else.
std::vector<std::string> Corner(const Bitmap& b, int x, int y, int dx, int dy) {
    std::vector<std::string> rows(5);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) rows[r] += b.At(x + c * dx, y + r * dy) == kGrey ? '#' : '.';
    }
    return rows;
}

TEST(SectionHeader, TabIsTwelvePixelsWiderThanItsTextWithRoundedCorners) {
    Bitmap b(300, 40, kMarker);
    DrawLabel(b.dc(), Label::kSectionHeader, L"Gestures", 300, 40);
    SIZE text{};
    GetTextExtentPoint32W(b.dc(), L"Gestures", 8, &text);
    const int right = text.cx + 12;

    EXPECT_EQ(b.At(right - 1, 20), kGrey);
    EXPECT_EQ(b.At(right, 20), kMarker) << "the tab ends 12 pixels after its text";
    // Seven rectangles: the middle one full height, the ends stepped in by 4, 2 and 1 pixels.
    const std::vector<std::string> rounded{"....#", "..###", ".####", ".####", "#####"};
    EXPECT_EQ(Corner(b, 0, 0, 1, 1), rounded) << "top left";
    EXPECT_EQ(Corner(b, right - 1, 0, -1, 1), rounded) << "top right";
    EXPECT_EQ(Corner(b, 0, 39, 1, -1), rounded) << "bottom left";  // the right runs on in the line
}

TEST(SectionHeader, GradientStartsAtGrey128AndLeavesTheLastColumn) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWhite) << "the phone's window colour, where it ends";
    // 65 wide: 32 bands of two columns, band i at 128 + 127 * i / 32, then the last column.
    Bitmap b(70, 4, kMarker);
    DrawGradient(b.dc(), RECT{0, 0, 65, 4});
    for (auto [x, grey] : {std::pair{0, 128}, {1, 128}, {2, 131}, {32, 191}, {63, 251}, {64, -1}}) {
        const COLORREF expected = grey < 0 ? kMarker : RGB(grey, grey, grey);
        for (int y : {0, 3}) EXPECT_EQ(b.At(x, y), expected) << "x " << x << ", y " << y;
    }
}

TEST(SectionHeader, EmptyTextDrawsOnlyTheBarAtTheTop) {
    Bitmap b(200, 40, kMarker);
    DrawLabel(b.dc(), Label::kSectionHeader, L"", 200, 40);
    EXPECT_EQ(b.Count(kMarker, RECT{0, 0, 199, 4}), 0) << "the bar";
    EXPECT_EQ(b.Count(kMarker), 200 * 36 + 4) << "nothing else: below it, and its last column";
}

TEST(PlainLabel, DrawsOnlyItsFirst79Characters) {
    std::wstring text;
    for (int i = 0; i < 100; ++i) text += i % 10 == 4 ? L' ' : static_cast<wchar_t>(L'a' + i % 26);
    ASSERT_NE(text[79], L' ') << "the 80th character would show, were it drawn";
    uitest::TestWindow parent;
    parent.Open();
    Label label;
    label.Create(parent.Window(), text.c_str(), 0, 0, 400, 120);

    // Counted in black pixels: the label's drawing against the same text drawn by the platform.
    Bitmap shown(400, 120, kWhite), cut(400, 120, kWhite);
    label.Draw(shown.dc());
    RECT area{0, 0, 400, 120};
    DrawTextW(cut.dc(), text.c_str(), 79, &area, DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(shown.Count(RGB(0, 0, 0)), cut.Count(RGB(0, 0, 0))) << "the first 79 characters";
}

}  // namespace
