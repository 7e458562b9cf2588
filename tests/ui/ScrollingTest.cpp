// Where a top-level window's content stands when the keys bring a control into view. Plain logic:
// also built natively under the sanitizers, so it must not include <windows.h>.
#include <gmock/gmock.h>

#include "ui/Scrolling.h"

namespace {

// A page of 696 (the phone's work area) over content of 1090 (the settings window's): at most
// 394 can be scrolled.
TEST(Scrolling, AControlIsBroughtIntoViewByTheLeastMove) {
    const struct {
        const char* what;
        int top, bottom, scrollPos, contentHeight, expected;
    } cases[] = {
        {"on the page: nothing moves", 100, 140, 0, 1090, 0},
        {"below: its bottom comes up to the margin", 934, 974, 0, 1090, 286},
        {"above: its top comes down to the margin", 100, 140, 300, 1090, 92},
        {"taller than the page: its top first", 200, 1000, 50, 1090, 192},
        {"at the end: no further than the content goes", 1050, 1090, 0, 1090, 394},
        {"at the start: not above the content", 4, 44, 200, 1090, 0},
        {"content shorter than the page: never scrolled", 300, 340, 0, 500, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollToShow(c.top, c.bottom, c.scrollPos, 696, c.contentHeight, 8), c.expected) << c.what;
    }
    EXPECT_EQ(ClampScroll(-16, 1090, 696), 0);
    EXPECT_EQ(ClampScroll(500, 1090, 696), 394);
    EXPECT_EQ(ClampScroll(100, 500, 696), 0);
}

}  // namespace
