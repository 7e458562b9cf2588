// The trace formatter against the C library's own vsnprintf, for every conversion it knows and
// every buffer size a text can be cut at; natively under the sanitizers too, for the cut.
#include <gmock/gmock.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/TraceText.h"

namespace {

// The formatter's text and the C library's, for the same format and arguments, in a buffer of
// `size` bytes with guard bytes after it that neither may touch.
struct Texts {
    std::string ours, library;
    size_t returned;
    bool guardsIntact;
};

Texts __attribute__((format(printf, 2, 3))) Both(size_t size, const char* format, ...) {
    constexpr char kGuard = '#';
    std::vector<char> ours(size + 8, kGuard), library(size + 8, kGuard);
    va_list args, copy;
    va_start(args, format);
    va_copy(copy, args);
    Texts texts{};
    texts.returned = FormatTraceText(ours.data(), size, format, args);
    std::vsnprintf(library.data(), size, format, copy);
    va_end(copy);
    va_end(args);
    texts.guardsIntact = std::all_of(ours.begin() + static_cast<ptrdiff_t>(size), ours.end(),
                                     [](char c) { return c == kGuard; });
    if (size > 0) {
        texts.ours = ours.data();
        texts.library = library.data();
    }
    return texts;
}

TEST(TraceText, EveryConversionWrittenAsTheCLibraryWritesIt) {
    const Texts cases[] = {
        // The program's own trace texts.
        Both(256, "PBT_TRANSITION, state: %08X %s\n", 0x12010000u, "On"),
        Both(256, "PBT_TRANSITION, state: %08X %s\n", 0x00200000u, ""),
        Both(256, "Angles: prev = %d, this = %d, delta = %d\n", 350, 10, -340),
        Both(256, "Resume vs. incoming call difference = %d", 4000),
        Both(256, "%s", "Power notification: SCREEN_OFF\n"),
        // Each conversion at its edges.
        Both(64, "%d %d %d %d", 0, -1, INT_MAX, INT_MIN),
        Both(64, "%i|%u|%u", -7, 0u, UINT_MAX),
        Both(64, "%x %X %x %X", 0u, 0xABCDEFu, UINT_MAX, 0x1Fu),
        Both(64, "%c%c%c", 'a', ' ', '~'),
        Both(64, "%s|%s", "", "text"),
        Both(64, "100%% and %%d"),
        // Widths and the zero flag, for numbers longer and shorter than the width.
        Both(64, "[%5d][%05d][%5d][%05d]", 42, 42, -42, -42),
        Both(64, "[%2d][%02d][%08X][%3u]", 12345, -12345, 0xFFFFFFFFu, 7u),
        Both(64, "[%6s][%1s][%3c]", "ab", "abc", 'z'),
    };
    for (const Texts& t : cases) {
        EXPECT_EQ(t.ours, t.library);
        EXPECT_EQ(t.returned, t.ours.size()) << t.ours;
        EXPECT_TRUE(t.guardsIntact) << t.ours;
    }
}

TEST(TraceText, CutAtTheBufferAndTerminatedAtEverySize) {
    for (size_t size = 0; size <= 40; ++size) {
        const Texts t = Both(size, "state: %08X %s, delta = %d|%d", 0xBEEFu, "Suspend", 0, -2147483647);
        EXPECT_EQ(t.ours, t.library) << "size " << size;
        EXPECT_EQ(t.returned, size == 0 ? 0 : t.ours.size()) << "size " << size;
        EXPECT_TRUE(t.guardsIntact) << "size " << size;
    }
}

// Not checked against the format: these are what the checker would refuse.
std::string Unchecked(const char* format, ...) {
    char text[32];
    va_list args;
    va_start(args, format);
    FormatTraceText(text, sizeof text, format, args);
    va_end(args);
    return text;
}

TEST(TraceText, UnknownConversionsCopiedAsTheyStandAndTakeNoArgument) {
    struct Case {
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {"%q%d", "%q7"},
        {"%5.2f%d", "%5.2f7"},  // the '.' ends the conversion: the rest is plain text
        {"%-d|%d", "%-d|7"},
        {"%d%", "7%"},
        {"%d%05", "7%05"},
    };
    for (const Case& c : cases) EXPECT_EQ(Unchecked(c.format, 7), c.expected) << c.format;
    // As the C libraries write it; the checker refuses a null text.
    EXPECT_EQ(Unchecked("[%s]", static_cast<const char*>(nullptr)), "[(null)]");
}

}  // namespace
