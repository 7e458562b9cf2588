// The shapes of a section header, as plain numbers: the seven rectangles of the rounded tab and
// the bands of the grey-to-window-colour gradient.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct Box {
    int left, top, right, bottom;
    bool operator==(const Box&) const = default;
};

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// The tab over `tab`: full height in the middle, its ends stepped in by 4, 2, 1 pixels.
std::array<Box, 7> RoundedTabRects(const Box& tab);

struct Band {
    Box box;
    Rgb colour;
};

// The bands of a gradient: at most 32, the first `count` of `items`.
struct Bands {
    std::array<Band, 32> items;
    size_t count;
    const Band* begin() const { return items.data(); }
    const Band* end() const { return items.data() + count; }
};

// The bands from grey 128 at the left towards `end`; the last column is left unpainted.
Bands GradientBands(const Box& area, Rgb end);
