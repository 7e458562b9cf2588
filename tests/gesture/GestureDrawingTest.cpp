// The geometry and colours of the gesture view and the icon buttons. Plain logic: this file is
// also built natively under the sanitizers, so it must not include <windows.h>.
#include <gmock/gmock.h>

#include "gesture/GestureDrawing.h"

void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

namespace {

using testing::ElementsAre;

TEST(GestureDrawing, ThePhoneLiesFlatAtRestAndStandsUprightAtAQuarterTurn) {
    EXPECT_THAT(PhoneOutline(0.0f, 96, 96), ElementsAre(Point{9, 48}, Point{16, 55}, Point{79, 55},
                                                        Point{86, 48}, Point{86, 40}, Point{9, 40}));
    // The float nearest pi/2 lies a hair beyond it, so its cosine is a hair below 0, which takes
    // the fourth corner just off 48.
    EXPECT_THAT(PhoneOutline(-1.5707964f, 96, 96), ElementsAre(Point{48, 86}, Point{55, 79}, Point{55, 16},
                                                               Point{47, 9}, Point{40, 9}, Point{40, 86}));
}

TEST(GestureDrawing, ButtonSymbolsAndTheDisabledColourRule) {
    EXPECT_EQ(CircleBox(56, 56), (Box{11, 11, 44, 44}));
    EXPECT_THAT(TrianglePoints(56, 56), ElementsAre(Point{11, 11}, Point{44, 28}, Point{11, 44}));
    // Each channel halfway towards 136, rounding down; pressed counts only while enabled.
    EXPECT_EQ(IconColoursFor(kItemSelected | kItemGrayed, {0, 100, 137}).background, (Rgb{68, 118, 136}));
}

}  // namespace
