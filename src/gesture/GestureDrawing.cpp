#include "GestureDrawing.h"

#include <cmath>

namespace {

// Units run from -1 to 1 across a control, x to the right and y downwards.
struct Vertex {
    float x, y;
};

constexpr Vertex kPhone[6] = {
    {-0.8f, 0.0f}, {-0.65f, 0.15f}, {0.65f, 0.15f}, {0.8f, 0.0f}, {0.8f, -0.15f}, {-0.8f, -0.15f},
};
constexpr float kCircleRadius = 0.6f;
constexpr Vertex kTriangle[3] = {{-0.6f, -0.6f}, {0.6f, 0.0f}, {-0.6f, 0.6f}};

// (u + 1) * size / 2, truncated. At u = -0.6 the sum is 0.39999998, not 0.4: the circle's box
// then lands on the same pixels as the triangle's corners.
int ToPixels(float u, int size) {
    return static_cast<int>((u + 1.0f) * (static_cast<float>(size) * 0.5f));
}

Rgb Halfway(Rgb c) { return {HalfwayTo136(c.red), HalfwayTo136(c.green), HalfwayTo136(c.blue)}; }

}  // namespace

std::array<Point, 6> PhoneOutline(float angle, int width, int height) {
    const float sx = static_cast<float>(width) * 0.5f;
    const float sy = static_cast<float>(height) * 0.5f;
    const float sn = static_cast<float>(std::sin(static_cast<double>(angle)));
    const float cs = static_cast<float>(std::cos(static_cast<double>(angle)));
    std::array<Point, 6> points{};
    for (size_t i = 0; i < points.size(); ++i) {
        const float x = kPhone[i].x, y = kPhone[i].y;
        points[i] = {static_cast<int>((x * cs - y * sn + 1.0f) * sx),
                     static_cast<int>((y * cs + x * sn + 1.0f) * sy)};
    }
    return points;
}

Box CircleBox(int width, int height) {
    return {ToPixels(-kCircleRadius, width), ToPixels(-kCircleRadius, height),
            ToPixels(kCircleRadius, width), ToPixels(kCircleRadius, height)};
}

std::array<Point, 3> TrianglePoints(int width, int height) {
    std::array<Point, 3> points{};
    for (size_t i = 0; i < points.size(); ++i) {
        points[i] = {ToPixels(kTriangle[i].x, width), ToPixels(kTriangle[i].y, height)};
    }
    return points;
}

uint8_t HalfwayTo136(uint8_t v) {
    // C++20 shifts a negative value arithmetically: the halving rounds down.
    return static_cast<uint8_t>(v + ((136 - v) >> 1));
}

IconColours IconColoursFor(uint32_t itemState, Rgb window) {
    IconColours colours{{0, 0, 0}, window, {204, 0, 0}, {68, 68, 68}};
    if (itemState & (kItemGrayed | kItemDisabled)) {
        return {Halfway(colours.border), Halfway(colours.background), Halfway(colours.circle),
                Halfway(colours.triangle)};
    }
    if (itemState & kItemSelected) colours.background = {204, 204, 204};
    return colours;
}
