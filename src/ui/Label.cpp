#include "Label.h"

#include <cwchar>

#include "Gdi.h"
#include "HeaderGeometry.h"
#include "ce/Handle.h"

namespace {

constexpr COLORREF kTabGrey = RGB(128, 128, 128);
constexpr int kTabPadding = 12;  // the tab is this much wider than its text
constexpr int kBarHeight = 4;    // the gradient line
constexpr int kTextBuffer = 80;  // window text read back: 79 characters at most

}  // namespace

bool Label::Create(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
    return CreateChild(kClassName, WS_CHILD, parent, text, x, y, width, height);
}

LRESULT Label::OnPaint(WPARAM, LPARAM) {
    if (!GetUpdateRect(window, nullptr, FALSE)) return 0;
    PaintDc paint(window);
    GdiObject clip(CreateRectRgnIndirect(&paint.Area()));
    SelectClipRgn(paint.get(), static_cast<HRGN>(clip.get()));
    Draw(paint.get());
    return 0;
}

void Label::Draw(HDC dc) const {
    RECT rect{};
    GetWindowRect(window, &rect);
    wchar_t text[kTextBuffer] = L"";
    GetWindowTextW(window, text, kTextBuffer);
    DrawLabel(dc, style, text, rect.right - rect.left, rect.bottom - rect.top);
}

void DrawLabel(HDC dc, int style, const wchar_t* text, int width, int height) {
    if (style == Label::kPlain) {
        RECT area{0, 0, width, height};
        DrawTextW(dc, text, -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    } else if (style == Label::kSectionHeader && text[0] != L'\0') {
        SIZE extent{};
        GetTextExtentExPointW(dc, text, static_cast<int>(std::wcslen(text)), 0, nullptr, nullptr,
                              &extent);
        RECT tab{0, 0, extent.cx + kTabPadding, height};
        DrawRoundedTab(dc, tab, kTabGrey);
        {
            TextStyle white(dc, RGB(255, 255, 255));
            DrawTextW(dc, text, -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        DrawGradient(dc, RECT{tab.right - kBarHeight, height - kBarHeight, width, height});
    } else if (style == Label::kSectionHeader) {
        DrawGradient(dc, RECT{0, 0, width, kBarHeight});
    }
}

void DrawRoundedTab(HDC dc, const RECT& tab, COLORREF colour) {
    GdiObject brush(CreateSolidBrush(colour));
    for (const Box& box : RoundedTabRects({tab.left, tab.top, tab.right, tab.bottom})) {
        const RECT rect{box.left, box.top, box.right, box.bottom};
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
    }
}

void DrawGradient(HDC dc, const RECT& area) {
    const COLORREF end = GetSysColor(COLOR_WINDOW);
    for (const Band& band : GradientBands({area.left, area.top, area.right, area.bottom},
                                          {GetRValue(end), GetGValue(end), GetBValue(end)})) {
        GdiObject brush(CreateSolidBrush(RGB(band.colour.red, band.colour.green, band.colour.blue)));
        const RECT rect{band.box.left, band.box.top, band.box.right, band.box.bottom};
        FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
    }
}
