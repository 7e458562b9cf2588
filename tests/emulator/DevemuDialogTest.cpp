// The device console's dialog, screenshot and tap commands against real windows: a message box
// opened by a thread of this test, and a window of a known colour with a button on it.
#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"

namespace {

using test::Devemu;
using testing::HasSubstr;

// Generous limit for the environment to catch up (a box to appear, a window to paint); the
// tests only wait on it, they never measure it.
constexpr DWORD kPatience = 20000;

// A message box on a thread of its own, as the program would show one. The destructor answers
// it if a test left it open, so one failure does not leave a box for the next test.
class BoxThread {
public:
    BoxThread(std::wstring caption, std::wstring text, UINT type)
        : caption_(std::move(caption)), thread_([this, text, type] {
              result_ = MessageBoxW(nullptr, text.c_str(), caption_.c_str(), type);
          }) {}
    ~BoxThread() {
        for (const wchar_t* answer : {L"cancel", L"no", L"ok"}) {
            if (result_ != 0 || !thread_.joinable()) break;
            Devemu({L"dialog", L"answer", answer, L"--caption", caption_, L"--wait", L"1000"});
        }
        if (thread_.joinable()) thread_.join();
    }
    BoxThread(const BoxThread&) = delete;
    BoxThread& operator=(const BoxThread&) = delete;

    // Waits for the box to end and returns what MessageBoxW returned.
    int Join() {
        thread_.join();
        return result_;
    }

private:
    std::wstring caption_;
    std::atomic<int> result_{0};
    std::thread thread_;
};

TEST(DevemuDialog, AnswerClicksAButtonOfTheListedBoxAndLogsIt) {
    BoxThread box(L"Varnel answer test", L"Line one\nLine two", MB_YESNO);
    const std::string listed = "caption=\"Varnel answer test\" text=\"Line one\\nLine two\"\n";
    auto list = [] { return Devemu({L"dialog", L"list"}).out; };
    EXPECT_TRUE(test::WaitUntil([&] { return list() == listed; }, kPatience)) << list();
    const uint64_t since = test::LogCount();

    test::ConsoleResult r = Devemu({L"dialog", L"answer", L"ok", L"--caption",
                                    L"Varnel answer test", L"--wait", L"300"});
    EXPECT_EQ(r.code, 1) << "the box has no OK button";
    EXPECT_THAT(r.err, HasSubstr("no message box"));

    r = Devemu({L"dialog", L"answer", L"no", L"--caption", L"Varnel answer test"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "dialog caption=\"Varnel answer test\" answer=no\n");
    EXPECT_EQ(box.Join(), IDNO);
    EXPECT_EQ(test::Events(since), (std::vector<std::string>{
                                       "console dialog answer no --caption \"Varnel answer test\"",
                                       "dialog caption=\"Varnel answer test\" answer=no"}));
    EXPECT_EQ(list(), "") << "still listed once answered";
}

// ---- A window of one colour with a button: screenshot and tap ----------------------------------

constexpr COLORREF kColour = RGB(0x2E, 0xA0, 0x5C);
constexpr int kLeft = 60, kTop = 140, kWidth = 150, kHeight = 110;

int clicks = 0;

LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++clicks;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Topmost so that nothing covers it, painted by its class brush; the button is off its centre.
class ColourWindow {
public:
    ColourWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ColourWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = L"DevemuTestColour";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Varnel",
                                  WS_POPUP | WS_VISIBLE, kLeft, kTop, kWidth, kHeight, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        CreateWindowExW(0, L"BUTTON", L"Tap me 7f3a", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10,
                        60, 30, window_, nullptr, wc.hInstance, nullptr);
    }
    ~ColourWindow() {
        DestroyWindow(window_);
        UnregisterClassW(L"DevemuTestColour", GetModuleHandleW(nullptr));
        DeleteObject(brush_);
    }
    ColourWindow(const ColourWindow&) = delete;
    ColourWindow& operator=(const ColourWindow&) = delete;

    // Pumps this thread's messages until `done` holds; false when it never did.
    static bool PumpUntil(const std::function<bool()>& done) {
        return test::WaitUntil([&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            return done();
        }, kPatience);
    }
    bool Painted() const {
        HDC screen = GetDC(nullptr);
        const COLORREF centre = GetPixel(screen, kLeft + kWidth / 2, kTop + kHeight / 2);
        ReleaseDC(nullptr, screen);
        return centre == kColour;
    }

private:
    HBRUSH brush_ = CreateSolidBrush(kColour);
    HWND window_ = nullptr;
};

uint32_t BigEndian(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Bitwise, unlike the encoder's table, so the two do not share a mistake.
uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

struct Image {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Reads a PNG as the screenshot command writes it (8-bit RGB, stored deflate blocks, no row
// filter), checking every chunk's CRC, the zlib header and the Adler-32 on the way.
Image ReadPng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> png((std::istreambuf_iterator<char>(file)), {});
    auto fail = [&](const char* why) {
        ADD_FAILURE() << path << ": " << why;
        return Image{};
    };
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature, signature + 8, png.begin())) return fail("no PNG");
    Image image;
    std::vector<uint8_t> z;
    size_t pos = 8;
    for (std::string type; type != "IEND"; pos += 12 + BigEndian(&png[pos])) {
        if (pos + 12 > png.size()) return fail("no IEND");
        const uint32_t length = BigEndian(&png[pos]);
        if (pos + 12 + length > png.size()) return fail("a chunk past the end");
        const uint8_t* data = &png[pos + 8];
        type.assign(png.begin() + pos + 4, png.begin() + pos + 8);
        if (BigEndian(data + length) != Crc(&png[pos + 4], length + 4)) return fail("chunk CRC");
        if (type == "IHDR" && (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0)) {
            return fail("not 8-bit RGB without interlace");
        }
        if (type == "IHDR") image = {BigEndian(data), BigEndian(data + 4), {}};
        if (type == "IDAT") z.insert(z.end(), data, data + length);
    }
    if (pos != png.size()) return fail("bytes after IEND");
    if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] << 8 | z[1]) % 31 != 0) return fail("zlib");
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > z.size() || (z[at] >> 1 & 3) != 0) return fail("not a stored block");
        last = z[at] & 1;
        const size_t n = z[at + 1] | z[at + 2] << 8, inverse = z[at + 3] | z[at + 4] << 8;
        if ((n ^ inverse) != 0xFFFF || at + 5 + n > z.size()) return fail("stored length");
        raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + n);
        at += 5 + n;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) b = (b + (a = (a + byte) % 65521)) % 65521;
    if (at + 4 != z.size() || BigEndian(&z[at]) != (b << 16 | a)) return fail("Adler-32");
    const size_t row = size_t{image.width} * 3 + 1;
    if (raw.size() != row * image.height) return fail("size");
    for (size_t y = 0; y < image.height; ++y) {
        if (raw[y * row] != 0) return fail("row filter");
        image.rgb.insert(image.rgb.end(), raw.begin() + y * row + 1, raw.begin() + (y + 1) * row);
    }
    return image;
}

TEST(DevemuWindow, AShotOfTheWindowIsAValidPngInItsColourAndATapOnItsButtonClicksIt) {
    ColourWindow window;
    ASSERT_TRUE(ColourWindow::PumpUntil([&] { return window.Painted(); }));
    DeleteFileW(L"devemu_window.png");
    test::ConsoleResult r = Devemu({L"screenshot", L"devemu_window.png", L"--window", L"Varnel"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "screenshot devemu_window.png 150x110\n");
    const Image image = ReadPng("devemu_window.png");
    EXPECT_EQ(image.width, static_cast<uint32_t>(kWidth));
    EXPECT_EQ(image.height, static_cast<uint32_t>(kHeight));
    size_t coloured = 0;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        coloured += RGB(image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]) == kColour;
    }
    EXPECT_GE(coloured, size_t{kWidth} * kHeight * 80 / 100) << "all but the button and a few";

    clicks = 0;
    r = Devemu({L"tap", L"--text", L"Tap me 7f3a"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "tap " + std::to_string(kLeft + 40) + " " + std::to_string(kTop + 25) + "\n");
    EXPECT_TRUE(ColourWindow::PumpUntil([] { return clicks > 0; }));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
