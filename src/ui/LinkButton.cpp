#include "LinkButton.h"

#include "Gdi.h"

namespace {

constexpr int kTextBuffer = 80;

// The DC's current font with an underline.
HFONT UnderlinedFontOf(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    LOGFONTW font{};
    font.lfHeight = metrics.tmHeight;
    font.lfWeight = metrics.tmWeight;
    font.lfUnderline = TRUE;
    GetTextFaceW(dc, LF_FACESIZE, font.lfFaceName);
    return CreateFontIndirectW(&font);
}

}  // namespace

bool LinkButton::Create(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
    return CreateChild(L"BUTTON", WS_CHILD | BS_OWNERDRAW, parent, text, x, y, width, height);
}

LRESULT LinkButton::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const HDC dc = item->hDC;
    RECT rect{};
    GetWindowRect(window, &rect);
    RECT area{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    wchar_t text[kTextBuffer] = L"";
    GetWindowTextW(window, text, kTextBuffer);

    COLORREF colour = kNormal;
    if (item->itemState & (ODS_GRAYED | ODS_DISABLED)) colour = GetSysColor(COLOR_GRAYTEXT);
    else if (item->itemState & ODS_SELECTED) colour = kPressed;

    {
        GdiObject background(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
        FillRect(dc, &area, static_cast<HBRUSH>(background.get()));
    }
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &area);

    TextStyle style(dc, colour);
    if (!font) font.reset(UnderlinedFontOf(dc));
    Selection selected(dc, font.get());
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return TRUE;
}
