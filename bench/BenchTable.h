// What the bench programs share: the spread of a series of measurements and the rows of the
// table that scripts/bench prints, in Markdown: the part, what is measured, the figure, and how it
// was measured in one line.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

struct Spread {
    double median;
    double p99;
};

// Nearest rank; an empty series gives zeros.
inline Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {0, 0};
    std::sort(values.begin(), values.end());
    const auto rank = [&](double p) {
        const size_t n = values.size();
        const size_t r = static_cast<size_t>(p * static_cast<double>(n) + 0.999999);
        return values[std::clamp<size_t>(r, 1, n) - 1];
    };
    return {rank(0.5), rank(0.99)};
}

inline void Row(const char* part, const char* what, const char* figure, const char* how) {
    std::printf("| %s | %s | %s | %s |\n", part, what, figure, how);
    std::fflush(stdout);
}
