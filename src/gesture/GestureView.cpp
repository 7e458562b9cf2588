#include "GestureView.h"

#include <algorithm>
#include <iterator>

#include "ce/Handle.h"
#include "ui/Gdi.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kPhoneGrey = RGB(204, 204, 204);

// One 1-pixel outline around {left, top, right, bottom}, the right and bottom edges included.
void DrawOutline(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    GdiObject pen(CreatePen(PS_SOLID, 1, colour));
    Selection selected(dc, pen.get());
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, right, top);
    LineTo(dc, right, bottom);
    LineTo(dc, left, bottom);
    LineTo(dc, left, top);
}

}  // namespace

bool GestureView::Create(HWND parent, int x, int y, int width, int height) {
    return CreateChild(kClassName, WS_CHILD, parent, nullptr, x, y, width, height);
}

void GestureView::SetViewAngle(float angle) {
    if (angle == viewAngle_) return;
    viewAngle_ = angle;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT GestureView::OnPaint(WPARAM, LPARAM) {
    if (!GetUpdateRect(window, nullptr, FALSE)) return 0;
    PaintDc paint(window);
    GdiObject clip(CreateRectRgnIndirect(&paint.Area()));
    SelectClipRgn(paint.get(), static_cast<HRGN>(clip.get()));
    RECT rect{};
    GetWindowRect(window, &rect);
    DrawGestureView(paint.get(), viewAngle_, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

void DrawGestureView(HDC dc, float angle, int width, int height) {
    DrawFrame(dc, width, height, kBlack, GetSysColor(COLOR_WINDOW));
    DrawPolygon(dc, PhoneOutline(angle, width, height), kBlack, kPhoneGrey);
}

void DrawFrame(HDC dc, int width, int height, COLORREF border, COLORREF fill) {
    DrawOutline(dc, 0, 0, width - 1, height - 1, border);
    DrawOutline(dc, 1, 1, width - 2, height - 2, border);
    GdiObject brush(CreateSolidBrush(fill));
    const RECT inside{2, 2, width - 2, height - 2};
    FillRect(dc, &inside, static_cast<HBRUSH>(brush.get()));
}

void DrawPolygon(HDC dc, std::span<const Point> points, COLORREF border, COLORREF fill) {
    POINT corners[kMaxPolygonCorners];
    const size_t count = std::min(points.size(), std::size(corners));
    for (size_t i = 0; i < count; ++i) corners[i] = {points[i].x, points[i].y};
    ShapeStyle style(dc, border, fill);
    Polygon(dc, corners, static_cast<int>(count));
}
