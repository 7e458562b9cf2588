#include "HeaderGeometry.h"

std::array<Box, 7> RoundedTabRects(const Box& t) {
    const int l = t.left, r = t.right, top = t.top, b = t.bottom;
    return {{{l, top + 4, l + 1, b - 4},
             {l + 1, top + 2, l + 2, b - 2},
             {l + 2, top + 1, l + 4, b - 1},
             {l + 4, top, r - 4, b},
             {r - 4, top + 1, r - 2, b - 1},
             {r - 2, top + 2, r - 1, b - 2},
             {r - 1, top + 4, r, b - 4}}};
}

Bands GradientBands(const Box& area, Rgb end) {
    Bands bands{};
    const int span = area.right - area.left - 1;
    if (span <= 0) return bands;  // one column or none: that column is the unpainted one
    const int delta[3] = {end.red - 128, end.green - 128, end.blue - 128};
    auto channel = [](int d, int i) { return static_cast<uint8_t>(128 + ((d * i) >> 5)); };
    int x = area.left;
    for (int i = 0; i < 32; ++i) {
        const int next = area.left + ((span * (i + 1)) >> 5);
        if (next == x) continue;
        bands.items[bands.count++] = {{x, area.top, next, area.bottom},
                                      {channel(delta[0], i), channel(delta[1], i), channel(delta[2], i)}};
        x = next;
    }
    return bands;
}
