// The gesture view and the icon buttons on pixels, drawn into memory bitmaps on a white window.
#include <algorithm>
#include <string>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "gesture/GestureView.h"
#include "gesture/IconButton.h"

namespace {

using uitest::Bitmap;

constexpr COLORREF kMarker = RGB(0, 255, 0);  // never drawn: "left alone"
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kGrey = RGB(204, 204, 204);

// "left,top-right,bottom" of the pixels inside the frame of a control `size` pixels square whose
// colour is not `except`, right and bottom included; "none" when there are none.
std::string Extent(const Bitmap& b, int size, COLORREF except) {
    int left = size, top = size, right = -1, bottom = -1;
    for (int y = 2; y < size - 2; ++y) {
        for (int x = 2; x < size - 2; ++x) {
            if (b.At(x, y) == except) continue;
            left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return "none";
    return std::to_string(left) + "," + std::to_string(top) + "-" + std::to_string(right) + "," + std::to_string(bottom);
}

TEST(GestureViewDrawing, ThePhoneLiesFlatAtRestAndStandsUprightAtAQuarterTurn) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWhite) << "the phone's window colour";
    Bitmap flat(96, 96, kMarker), upright(96, 96, kMarker);
    DrawGestureView(flat.dc(), 0.0f, 96, 96);
    DrawGestureView(upright.dc(), -1.5707964f, 96, 96);
    EXPECT_EQ(flat.Count(kMarker), 0) << "the whole view is painted";
    EXPECT_EQ(flat.Count(kBlack, RECT{0, 0, 96, 2}), 2 * 96) << "a double outline";
    for (POINT corner : {POINT{9, 48}, {16, 55}, {79, 55}, {86, 48}, {86, 40}, {9, 40}}) {
        EXPECT_EQ(flat.At(corner.x, corner.y), kBlack) << corner.x << ", " << corner.y;
    }
    EXPECT_EQ(Extent(flat, 96, kWhite), "9,40-86,55");
    EXPECT_EQ(flat.At(48, 47), kGrey);
    EXPECT_EQ(Extent(upright, 96, kWhite), "40,9-55,86");
    EXPECT_EQ(upright.At(47, 48), kGrey);
}

TEST(IconButtonDrawing, SymbolAndColoursFollowTheState) {
    const COLORREF red = RGB(204, 0, 0), darkGrey = RGB(68, 68, 68), disabledBack = RGB(195, 195, 195);
    const struct {
        const char* what;
        int symbol;
        bool lit;
        UINT state;
        COLORREF border, background, middle;
        const char* symbolExtent;
    } cases[] = {
        // Ellipse leaves out the right and bottom edges of its box; Polygon draws its corners.
        {"record", kRecordSymbol, true, 0, kBlack, kWhite, red, "11,11-43,43"},
        {"record pressed", kRecordSymbol, true, ODS_SELECTED, kBlack, kGrey, red, "11,11-43,43"},
        {"record disabled", kRecordSymbol, true, ODS_DISABLED, darkGrey, disabledBack, RGB(170, 68, 68), "11,11-43,43"},
        {"play", kPlaySymbol, true, 0, kBlack, kWhite, darkGrey, "11,11-44,44"},
        {"play greyed", kPlaySymbol, true, ODS_GRAYED, darkGrey, disabledBack, RGB(102, 102, 102), "11,11-44,44"},
        {"record dark", kRecordSymbol, false, 0, kBlack, kWhite, kWhite, "none"},
        {"no such symbol", 2, true, 0, kBlack, kWhite, kWhite, "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap b(56, 56, kMarker);
        DrawIconButton(b.dc(), c.symbol, c.lit, c.state, 56, 56);
        EXPECT_EQ(b.Count(kMarker), 0);
        EXPECT_EQ(b.At(0, 0), c.border);
        EXPECT_EQ(b.At(1, 54), c.border);
        EXPECT_EQ(b.At(2, 2), c.background);
        EXPECT_EQ(b.At(28, 28), c.middle);
        EXPECT_EQ(Extent(b, 56, c.background), c.symbolExtent);
        if (c.symbol == kPlaySymbol) {
            for (POINT corner : {POINT{11, 11}, {44, 28}, {11, 44}}) EXPECT_EQ(b.At(corner.x, corner.y), c.border);
        }
    }
}

}  // namespace
