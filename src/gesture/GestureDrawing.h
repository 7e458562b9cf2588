// The shapes and colours of the gesture editor's drawn controls, as plain numbers: the phone
// outline of the gesture view turned by its angle, and the symbols and colours of the record and
// play buttons. Coordinates are pixels from the control's top-left corner.
#pragma once

#include <array>
#include <cstdint>

#include "ui/HeaderGeometry.h"  // Box, Rgb

struct Point {
    int x, y;
    bool operator==(const Point&) const = default;
};

// The six corners of the phone seen end-on, turned by `angle` radians, in a view `width` by
// `height`; in 32-bit float arithmetic and truncated, as the phone's own drawing computes them.
std::array<Point, 6> PhoneOutline(float angle, int width, int height);

constexpr int kRecordSymbol = 0;  // a circle
constexpr int kPlaySymbol = 1;    // a triangle pointing right

// The record symbol's bounding box and the play symbol's corners in a button `width` by `height`.
Box CircleBox(int width, int height);
std::array<Point, 3> TrianglePoints(int width, int height);

// The draw-item state bits that choose a button's look, as the platform numbers them.
constexpr uint32_t kItemSelected = 0x1;
constexpr uint32_t kItemGrayed = 0x2;
constexpr uint32_t kItemDisabled = 0x4;

struct IconColours {
    Rgb border, background, circle, triangle;
    bool operator==(const IconColours&) const = default;
};

// A button's colours in draw-item state `itemState` on a window of colour `window`: pressed
// only while not disabled; every disabled colour is its normal one moved halfway towards 136.
IconColours IconColoursFor(uint32_t itemState, Rgb window);

// v + floor((136 - v) / 2): 255 gives 195, 0 gives 68.
uint8_t HalfwayTo136(uint8_t v);
