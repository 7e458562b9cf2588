// What labels, section headers and link buttons put on the screen, read back pixel by pixel
// from memory bitmaps and from the real windows.
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"

namespace {

using uitest::Bitmap;
using uitest::Hex;
using uitest::TestWindow;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kMarker = RGB(0, 255, 0);  // never drawn by the program: "left alone"

int TextWidth(HDC dc, const wchar_t* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    return size.cx;
}

// A corner of the tab as a picture: '#' grey, '.' left alone, rows top to bottom.
void ExpectPicture(const Bitmap& b, int left, int top, int rowStep,
                   std::initializer_list<const char*> rows, const char* what) {
    int y = top;
    for (const char* row : rows) {
        std::string actual;
        for (int x = left; x < left + static_cast<int>(std::strlen(row)); ++x) {
            const COLORREF c = b.At(x, y);
            actual += c == kGrey ? '#' : c == kMarker ? '.' : '?';
        }
        EXPECT_EQ(actual, row) << what << ", row " << y;
        y += rowStep;
    }
}

TEST(SectionHeader, TabIsTwelvePixelsWiderThanItsTextWithRoundedCorners) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWhite) << "the phone's window colour";
    Bitmap b(300, 40, kMarker);
    DrawLabel(b.dc(), Label::kSectionHeader, L"Gestures", 300, 40);
    const int tabRight = TextWidth(b.dc(), L"Gestures") + 12;

    // The middle row: grey from the left edge to the tab's right edge, with white text in it.
    EXPECT_EQ(b.At(0, 20), kGrey);
    EXPECT_EQ(b.At(tabRight - 1, 20), kGrey);
    EXPECT_EQ(b.At(tabRight, 20), kMarker) << "the tab ends 12 pixels after its text";
    EXPECT_GT(b.Count(kWhite, RECT{0, 0, tabRight, 40}), 20) << "the text, in white";

    ExpectPicture(b, 0, 0, 1, {"....#", "..###", ".####", ".####", "#####"}, "top left");
    ExpectPicture(b, tabRight - 5, 0, 1, {"#....", "###..", "####.", "####.", "#####"}, "top right");
    ExpectPicture(b, 0, 39, -1, {"....#", "..###", ".####", ".####", "#####"}, "bottom left");

    // The gradient runs on from 4 pixels inside the tab along the bottom, the last column bare.
    EXPECT_EQ(b.At(tabRight - 4, 37), kGrey);
    EXPECT_EQ(b.At(tabRight + 1, 35), kMarker) << "only the bottom 4 rows";
    EXPECT_NE(b.At(298, 37), kMarker);
    EXPECT_EQ(b.At(299, 37), kMarker);
}

TEST(SectionHeader, GradientStartsAtGrey128AndLeavesTheLastColumn) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), kWhite);
    // 65 wide: 32 bands of two columns, band i at 128 + 127 * i / 32.
    Bitmap b(70, 4, kMarker);
    DrawGradient(b.dc(), RECT{0, 0, 65, 4});
    const struct {
        int x;
        COLORREF colour;
    } expected[] = {
        {0, RGB(128, 128, 128)},  {1, RGB(128, 128, 128)},  {2, RGB(131, 131, 131)},
        {32, RGB(191, 191, 191)}, {62, RGB(251, 251, 251)}, {63, RGB(251, 251, 251)},
        {64, kMarker},
    };
    for (int y = 0; y < 4; ++y) {
        for (const auto& e : expected) {
            EXPECT_EQ(Hex(b.At(e.x, y)), Hex(e.colour)) << "x " << e.x << ", y " << y;
        }
    }
    for (int x = 1; x < 64; ++x) {
        EXPECT_GE(GetRValue(b.At(x, 0)), GetRValue(b.At(x - 1, 0))) << "lighter to the right, x " << x;
    }
}

TEST(SectionHeader, EmptyTextDrawsOnlyTheBarAtTheTop) {
    Bitmap b(200, 40, kMarker);
    DrawLabel(b.dc(), Label::kSectionHeader, L"", 200, 40);
    EXPECT_EQ(b.Count(kMarker, RECT{0, 0, 199, 4}), 0) << "the bar";
    EXPECT_EQ(b.At(0, 0), kGrey);
    EXPECT_EQ(b.Count(kMarker, RECT{199, 0, 200, 4}), 4) << "its last column";
    EXPECT_EQ(b.Count(kMarker, RECT{0, 4, 200, 40}), 200 * 36) << "nothing below it";
}

// A label window's own pixels against the same drawing done in memory.
TEST(LabelWindow, PaintsWhatItsDrawingDrawsCutTo79Characters) {
    std::wstring longText;
    for (int i = 0; i < 100; ++i) longText += i % 10 == 4 ? L' ' : static_cast<wchar_t>(L'a' + i % 26);
    ASSERT_NE(longText[79], L' ') << "the 80th character must show if it were drawn";

    Label* plain = nullptr;
    Label* header = nullptr;
    TestWindow window([&](TestWindow& w) {
        w.AddMenuBar();  // which spreads the window over the screen, so the labels fit in it
        plain = &w.Own(std::make_unique<Label>(Label::kPlain));
        plain->Create(w.Window(), longText.c_str(), 0, 0, 400, 120);
        header = &w.Own(std::make_unique<Label>(Label::kSectionHeader));
        header->Create(w.Window(), L"Autolock", 0, 130, 400, 40);
    });
    window.Open();
    uitest::Pump();

    auto shown = uitest::Capture(plain->Window());
    auto drawn = [&](size_t characters) {
        auto b = std::make_unique<Bitmap>(400, 120, kWhite);
        RECT area{0, 0, 400, 120};
        DrawTextW(b->dc(), longText.c_str(), static_cast<int>(characters), &area, DT_WORDBREAK | DT_NOPREFIX);
        return b;
    };
    EXPECT_EQ(shown->Differences(*drawn(79)), 0) << "the first 79 characters, wrapped";
    EXPECT_GT(shown->Differences(*drawn(80)), 0) << "and not one more";

    auto headerShown = uitest::Capture(header->Window());
    Bitmap headerDrawn(400, 40, kWhite);
    DrawLabel(headerDrawn.dc(), Label::kSectionHeader, L"Autolock", 400, 40);
    EXPECT_EQ(headerShown->Differences(headerDrawn), 0);
    EXPECT_GT(headerShown->Count(kGrey), 100) << "the tab is on the screen";
}

class LinkButtonLook : public testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<TestWindow>([&](TestWindow& w) {
            button_ = &w.Own(std::make_unique<LinkButton>());
            button_->Create(w.Window(), L"Reset to default", 8, 8, 200, 40);
        });
        window_->Open();
        uitest::Pump();
    }
    std::unique_ptr<Bitmap> Shown() {
        UpdateWindow(button_->Window());
        return uitest::Capture(button_->Window());
    }
    int UnderlineLength() const {
        Bitmap b(1, 1, kWhite);
        SelectObject(b.dc(), button_->Font());
        return TextWidth(b.dc(), L"Reset to default");
    }

    std::unique_ptr<TestWindow> window_;
    LinkButton* button_ = nullptr;
};

TEST_F(LinkButtonLook, ColoursFollowTheButtonsState) {
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const struct {
        const char* state;
        std::function<void(HWND)> apply;
        COLORREF colour;
    } cases[] = {
        {"normal", [](HWND) {}, LinkButton::kNormal},
        {"pressed", [](HWND b) { SendMessageW(b, BM_SETSTATE, TRUE, 0); }, LinkButton::kPressed},
        {"released", [](HWND b) { SendMessageW(b, BM_SETSTATE, FALSE, 0); }, LinkButton::kNormal},
        {"disabled", [](HWND b) { EnableWindow(b, FALSE); }, grey},
    };
    for (const auto& c : cases) {
        c.apply(button_->Window());
        auto shown = Shown();
        for (COLORREF other : {LinkButton::kNormal, LinkButton::kPressed, grey}) {
            if (other == c.colour) continue;
            EXPECT_EQ(shown->Count(other), 0) << c.state << ": no " << Hex(other);
        }
        // The underline is one unbroken run of the text colour as long as the text.
        EXPECT_GE(shown->LongestRun(c.colour), UnderlineLength() - 2) << c.state << " in " << Hex(c.colour);
        EXPECT_GT(shown->Count(kWhite), 200 * 40 / 2) << c.state << ": on the window colour";
    }
}

TEST_F(LinkButtonLook, FontIsMadeOnceUnderlined) {
    HFONT font = button_->Font();
    ASSERT_NE(font, nullptr) << "made on the first draw";
    LOGFONTW described{};
    GetObjectW(font, sizeof described, &described);
    EXPECT_TRUE(described.lfUnderline);
    EXPECT_FALSE(described.lfItalic);
    InvalidateRect(button_->Window(), nullptr, TRUE);
    Shown();
    EXPECT_EQ(button_->Font(), font) << "kept, not made again";
}

}  // namespace
