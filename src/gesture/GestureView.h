// The phone seen end-on, turned by the view angle: at rest it lies flat; a playback turns it
// step by step as the gesture asks the user to turn the phone.
#pragma once

#include <span>

#include "GestureDrawing.h"
#include "ui/UserWindow.h"

class GestureView : public UserWindow {
public:
    bool Create(HWND parent, int x, int y, int width, int height);

    // A different angle (radians) is stored and the view redrawn; the same one changes nothing.
    void SetViewAngle(float angle);
    float ViewAngle() const { return viewAngle_; }

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;

private:
    float viewAngle_ = 0.0f;
};

// The view's drawing, `width` by `height`, with the phone turned by `angle` radians.
void DrawGestureView(HDC dc, float angle, int width, int height);

// What the view and the icon buttons share: their double outline in `border` with the inside
// filled with `fill` (each draw paints the whole control, so nothing is erased first), and a
// polygon outlined in `border` and filled with `fill`, of the first kMaxPolygonCorners points.
constexpr size_t kMaxPolygonCorners = 6;  // the phone's outline; the play symbol has three
void DrawFrame(HDC dc, int width, int height, COLORREF border, COLORREF fill);
void DrawPolygon(HDC dc, std::span<const Point> points, COLORREF border, COLORREF fill);
