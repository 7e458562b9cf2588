// The device console's dialog and screenshot commands against real windows: message boxes
// opened by a thread of this test, and a plain window of a known colour.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "Console.h"
#include "Device.h"

namespace {

using devemu::Args;
using devemu::Io;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Console(const Args& args) {
    Io io;
    int code = devemu::RunConsole(args, io);
    return {code, io.out, io.err};
}

// Generous limit for the environment to catch up (a box to appear, a window to paint); the
// tests only wait on it, they never measure it.
constexpr DWORD kPatience = 20000;

// A message box on a thread of its own, as the program would show one. The destructor
// answers it if a test left it open, so one failure does not leave a box for the next test.
class BoxThread {
public:
    BoxThread(std::wstring caption, std::wstring text, UINT type)
        : caption_(std::move(caption)), thread_([this, text, type] {
              result_ = MessageBoxW(nullptr, text.c_str(), caption_.c_str(), type);
          }) {}
    ~BoxThread() {
        if (thread_.joinable()) {
            for (const wchar_t* answer : {L"cancel", L"no", L"ok"}) {
                if (result_ != 0) break;
                Console({L"dialog", L"answer", answer, L"--caption", caption_, L"--wait", L"1000"});
            }
            thread_.join();
        }
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

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Polls `dialog list` until a line holds `part`; returns the last output.
std::string ListUntil(const std::string& part) {
    const ULONGLONG start = GetTickCount64();
    std::string out;
    do {
        Result r = Console({L"dialog", L"list"});
        EXPECT_EQ(r.code, 0) << r.err;
        out = r.out;
        if (Contains(out, part)) break;
        Sleep(10);
    } while (GetTickCount64() - start < kPatience);
    return out;
}

// Device log lines from `since` on, without their uptime stamps.
std::vector<std::string> LogTexts(uint64_t since) {
    std::vector<std::string> texts;
    for (const std::string& line : devemu::Device::Get().LogLines(since, nullptr)) {
        texts.push_back(line.substr(line.find(' ') + 1));
    }
    return texts;
}

TEST(DevemuDialog, ListShowsCaptionAndTextOfAnOpenBox) {
    BoxThread box(L"Varnel list test", L"Line one\nLine two", MB_YESNO);
    const std::string line = "caption=\"Varnel list test\" text=\"Line one\\nLine two\"\n";
    std::string out = ListUntil(line);
    EXPECT_TRUE(Contains(out, line)) << out;

    ASSERT_EQ(Console({L"dialog", L"answer", L"yes", L"--caption", L"Varnel list test"}).code, 0);
    EXPECT_EQ(box.Join(), IDYES);
    // Gone once answered.
    EXPECT_FALSE(Contains(Console({L"dialog", L"list"}).out, "Varnel list test"));
}

TEST(DevemuDialog, ListPrintsNothingWhenNoBoxIsOpen) {
    Result r = Console({L"dialog", L"list"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(DevemuDialog, AnswerNoClicksNoAndLogsIt) {
    const uint64_t since = devemu::Device::Get().LogCount();
    // The command starts before the box may exist, so it also has to wait for it.
    BoxThread box(L"Varnel answer test", L"Unlock now?", MB_YESNO | MB_ICONQUESTION);
    Result r = Console({L"dialog", L"answer", L"no", L"--caption", L"Varnel answer test", L"--wait",
                    std::to_wstring(kPatience)});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "dialog caption=\"Varnel answer test\" answer=no\n");
    EXPECT_EQ(box.Join(), IDNO);

    std::vector<std::string> log = LogTexts(since);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "console dialog answer no --caption \"Varnel answer test\" --wait " +
                          std::to_string(kPatience));
    EXPECT_EQ(log[1], "dialog caption=\"Varnel answer test\" answer=no");
}

TEST(DevemuDialog, AnswerWithoutCaptionTakesAnyBox) {
    BoxThread box(L"Varnel any box", L"Saved.", MB_OKCANCEL);
    ASSERT_TRUE(Contains(ListUntil("Varnel any box"), "Varnel any box"));
    Result r = Console({L"dialog", L"answer", L"cancel"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "dialog caption=\"Varnel any box\" answer=cancel\n");
    EXPECT_EQ(box.Join(), IDCANCEL);
}

TEST(DevemuDialog, AnswerTimesOutForAButtonTheBoxLacks) {
    BoxThread box(L"Varnel lacking test", L"Yes or no?", MB_YESNO);
    ASSERT_TRUE(Contains(ListUntil("Varnel lacking test"), "Varnel lacking test"));
    const uint64_t since = devemu::Device::Get().LogCount();

    Result r = Console({L"dialog", L"answer", L"ok", L"--caption", L"Varnel lacking test", L"--wait",
                    L"300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "no message box")) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;

    // The right button but another caption: no match either.
    r = Console({L"dialog", L"answer", L"yes", L"--caption", L"Varnel other box", L"--wait", L"300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "no message box")) << r.err;

    // Nothing was pressed or logged, and the box is still waiting for its answer.
    EXPECT_TRUE(LogTexts(since).empty());
    EXPECT_TRUE(Contains(Console({L"dialog", L"list"}).out, "Varnel lacking test"));
    ASSERT_EQ(Console({L"dialog", L"answer", L"yes", L"--caption", L"Varnel lacking test"}).code, 0);
    EXPECT_EQ(box.Join(), IDYES);
}

TEST(DevemuDialog, AnswerTimesOutWithNoBoxAtAll) {
    Result r = Console({L"dialog", L"answer", L"yes", L"--wait", L"300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "no message box")) << r.err;
}

// A dialog built like a message box (text static 0xFFFF, an OK button), created hidden.
class HiddenBox {
public:
    HiddenBox() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        box_ = CreateWindowExW(0, L"#32770", L"Varnel hidden box", WS_POPUP | WS_CAPTION, 40, 40,
                               200, 120, nullptr, nullptr, instance, nullptr);
        if (!box_) return;
        CreateWindowExW(0, L"STATIC", L"Not shown", WS_CHILD | WS_VISIBLE, 10, 10, 150, 20, box_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), instance, nullptr);
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 40, 60, 24, box_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    }
    ~HiddenBox() {
        if (box_) DestroyWindow(box_);  // takes its children with it
    }
    HiddenBox(const HiddenBox&) = delete;
    HiddenBox& operator=(const HiddenBox&) = delete;
    HWND get() const { return box_; }

private:
    HWND box_ = nullptr;
};

TEST(DevemuDialog, HiddenBoxesDoNotCount) {
    HiddenBox box;
    ASSERT_TRUE(box.get());
    EXPECT_FALSE(Contains(Console({L"dialog", L"list"}).out, "Varnel hidden box"));
    Result r = Console({L"dialog", L"answer", L"ok", L"--caption", L"Varnel hidden box", L"--wait",
                        L"300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "no message box")) << r.err;

    // The same window once shown is found, so it was the visibility that kept it out.
    ShowWindow(box.get(), SW_SHOWNA);
    EXPECT_TRUE(Contains(Console({L"dialog", L"list"}).out,
                         "caption=\"Varnel hidden box\" text=\"Not shown\"\n"));
}

TEST(DevemuDialog, BadArgumentsExitTwo) {
    const Args bad[] = {
        {L"dialog"},
        {L"dialog", L"frob"},
        {L"dialog", L"list", L"extra"},
        {L"dialog", L"answer"},
        {L"dialog", L"answer", L"maybe"},
        {L"dialog", L"answer", L"yes", L"no"},
        {L"dialog", L"answer", L"yes", L"--wait", L"soon"},
        {L"dialog", L"answer", L"yes", L"--wait"},
        {L"dialog", L"answer", L"yes", L"--caption"},
        {L"screenshot"},
        {L"screenshot", L"a.png", L"b.png"},
        {L"screenshot", L"a.png", L"--window"},
    };
    for (const Args& args : bad) {
        Result r = Console(args);
        EXPECT_EQ(r.code, 2) << devemu::Utf8(args.back());
        EXPECT_TRUE(Contains(r.err, "usage: devemu")) << r.err;
    }
}

// ---- screenshot -----------------------------------------------------------------------------

uint32_t BigEndian(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Bitwise, unlike the encoder's table, so the two do not share a mistake.
uint32_t ReferenceCrc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

uint32_t ReferenceAdler(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

struct Image {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Reads a PNG as the screenshot command writes it (8-bit RGB, stored deflate blocks, filter
// none), checking every chunk CRC, the zlib header and the Adler-32 on the way.
Image ReadPng(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Image image;
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_GE(png.size(), 8u);
    if (png.size() < 8 || !std::equal(signature, signature + 8, png.begin())) {
        ADD_FAILURE() << "no PNG signature";
        return image;
    }
    std::vector<uint8_t> z;
    size_t pos = 8;
    bool ended = false;
    std::vector<std::string> order;
    while (pos + 12 <= png.size() && !ended) {
        const uint32_t length = BigEndian(&png[pos]);
        if (pos + 12 + length > png.size()) break;
        const std::string type(png.begin() + pos + 4, png.begin() + pos + 8);
        const uint8_t* data = &png[pos + 8];
        EXPECT_EQ(BigEndian(data + length), ReferenceCrc(&png[pos + 4], length + 4)) << type;
        order.push_back(type);
        if (type == "IHDR") {
            EXPECT_EQ(length, 13u);
            image.width = BigEndian(data);
            image.height = BigEndian(data + 4);
            EXPECT_EQ(data[8], 8) << "bit depth";
            EXPECT_EQ(data[9], 2) << "colour type RGB";
            EXPECT_EQ(data[10], 0);
            EXPECT_EQ(data[11], 0);
            EXPECT_EQ(data[12], 0) << "interlace";
        } else if (type == "IDAT") {
            z.insert(z.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + length;
    }
    EXPECT_TRUE(ended) << "no IEND";
    EXPECT_EQ(pos, png.size()) << "bytes after IEND";
    EXPECT_FALSE(order.empty());
    if (!order.empty()) {
        EXPECT_EQ(order.front(), "IHDR");
    }

    // zlib: header, stored blocks, Adler-32 of the data.
    EXPECT_GE(z.size(), 6u);
    if (z.size() < 6) return image;
    EXPECT_EQ(z[0] & 0x0F, 8) << "deflate";
    EXPECT_EQ((z[0] << 8 | z[1]) % 31, 0) << "zlib header check";
    EXPECT_EQ(z[1] & 0x20, 0) << "preset dictionary";
    std::vector<uint8_t> raw;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > z.size()) {
            ADD_FAILURE() << "deflate stream cut short";
            return image;
        }
        last = z[at] & 1;
        if ((z[at] >> 1 & 3) != 0) {
            ADD_FAILURE() << "not a stored block";
            return image;
        }
        const uint16_t n = static_cast<uint16_t>(z[at + 1] | z[at + 2] << 8);
        const uint16_t inverse = static_cast<uint16_t>(z[at + 3] | z[at + 4] << 8);
        EXPECT_EQ(static_cast<uint16_t>(~n), inverse);
        at += 5;
        if (at + n > z.size()) {
            ADD_FAILURE() << "stored block past the end";
            return image;
        }
        raw.insert(raw.end(), z.begin() + at, z.begin() + at + n);
        at += n;
    }
    EXPECT_EQ(at + 4, z.size());
    if (at + 4 <= z.size()) {
        EXPECT_EQ(BigEndian(&z[at]), ReferenceAdler(raw));
    }

    const size_t row = size_t{image.width} * 3;
    EXPECT_EQ(raw.size(), (row + 1) * image.height);
    if (raw.size() != (row + 1) * image.height) return image;
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* line = &raw[y * (row + 1)];
        EXPECT_EQ(line[0], 0) << "filter of row " << y;
        image.rgb.insert(image.rgb.end(), line + 1, line + 1 + row);
    }
    return image;
}

size_t CountColour(const Image& image, COLORREF colour) {
    size_t n = 0;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        if (image.rgb[i] == GetRValue(colour) && image.rgb[i + 1] == GetGValue(colour) &&
            image.rgb[i + 2] == GetBValue(colour)) {
            ++n;
        }
    }
    return n;
}

class Guard {
public:
    explicit Guard(void (*release)(void*), void* what) : release_(release), what_(what) {}
    ~Guard() { release_(what_); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    void (*release_)(void*);
    void* what_;
};

constexpr COLORREF kColour = RGB(0x2E, 0xA0, 0x5C);
constexpr int kLeft = 60, kTop = 140, kWidth = 150, kHeight = 110;

// A plain window of one colour, painted by its class brush, topmost so nothing covers it.
class ColourWindow {
public:
    ColourWindow(const wchar_t* title, bool visible) {
        brush_ = CreateSolidBrush(kColour);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = brush_;
        wc.lpszClassName = kClass;
        atom_ = RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, title,
                                  WS_POPUP | (visible ? WS_VISIBLE : 0), kLeft, kTop, kWidth,
                                  kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~ColourWindow() {
        if (window_) DestroyWindow(window_);
        if (atom_) UnregisterClassW(kClass, GetModuleHandleW(nullptr));
        if (brush_) DeleteObject(brush_);
    }
    ColourWindow(const ColourWindow&) = delete;
    ColourWindow& operator=(const ColourWindow&) = delete;

    HWND get() const { return window_; }

    // Pumps messages until the window's colour is on the screen.
    bool WaitPainted() {
        HDC screen = GetDC(nullptr);
        Guard release([](void* dc) { ReleaseDC(nullptr, static_cast<HDC>(dc)); }, screen);
        const ULONGLONG start = GetTickCount64();
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            if (GetPixel(screen, kLeft + kWidth / 2, kTop + kHeight / 2) == kColour) return true;
            Sleep(10);
        } while (GetTickCount64() - start < kPatience);
        return false;
    }

private:
    static constexpr const wchar_t* kClass = L"DevemuDialogTestColour";
    HBRUSH brush_ = nullptr;
    ATOM atom_ = 0;
    HWND window_ = nullptr;
};

TEST(DevemuScreenshot, WindowShotIsAValidPngOfTheWindow) {
    ColourWindow window(L"Varnel shot test", true);
    ASSERT_TRUE(window.get());
    ASSERT_TRUE(window.WaitPainted());
    DeleteFileW(L"devemu_dialog_window.png");

    Result r = Console({L"screenshot", L"devemu_dialog_window.png", L"--window", L"Varnel shot test"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "screenshot devemu_dialog_window.png " + std::to_string(kWidth) + "x" +
                         std::to_string(kHeight) + "\n");
    Image image = ReadPng("devemu_dialog_window.png");
    EXPECT_EQ(image.width, static_cast<uint32_t>(kWidth));
    EXPECT_EQ(image.height, static_cast<uint32_t>(kHeight));
    ASSERT_EQ(image.rgb.size(), size_t{kWidth} * kHeight * 3);
    // A frameless window of one colour: every pixel but a stray few is that colour.
    EXPECT_GE(CountColour(image, kColour), size_t{kWidth} * kHeight * 95 / 100);
}

TEST(DevemuScreenshot, ScreenShotCoversTheScreenAndShowsTheWindow) {
    ColourWindow window(L"Varnel screen test", true);
    ASSERT_TRUE(window.get());
    ASSERT_TRUE(window.WaitPainted());
    DeleteFileW(L"devemu_dialog_screen.png");

    Result r = Console({L"screenshot", L"devemu_dialog_screen.png"});
    ASSERT_EQ(r.code, 0) << r.err;
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.out, "screenshot devemu_dialog_screen.png " + std::to_string(cx) + "x" +
                         std::to_string(cy) + "\n");
    Image image = ReadPng("devemu_dialog_screen.png");
    ASSERT_EQ(image.width, static_cast<uint32_t>(cx));
    ASSERT_EQ(image.height, static_cast<uint32_t>(cy));
    ASSERT_EQ(image.rgb.size(), size_t(cx) * cy * 3);
    // The window's colour sits where the window is: the rows are in order and not mirrored.
    const size_t centre = (size_t(kTop + kHeight / 2) * cx + (kLeft + kWidth / 2)) * 3;
    EXPECT_EQ(RGB(image.rgb[centre], image.rgb[centre + 1], image.rgb[centre + 2]), kColour);
    const size_t corner = (size_t(kTop + 2) * cx + (kLeft + 2)) * 3;
    EXPECT_EQ(RGB(image.rgb[corner], image.rgb[corner + 1], image.rgb[corner + 2]), kColour);
    EXPECT_GE(CountColour(image, kColour), size_t{kWidth} * kHeight * 95 / 100);
}

TEST(DevemuScreenshot, UnknownOrHiddenWindowFails) {
    Result r = Console({L"screenshot", L"devemu_dialog_none.png", L"--window", L"No such window 7f3a"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "no window titled \"No such window 7f3a\"")) << r.err;

    ColourWindow hidden(L"Varnel hidden test", false);
    ASSERT_TRUE(hidden.get());
    r = Console({L"screenshot", L"devemu_dialog_none.png", L"--window", L"Varnel hidden test"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "no window titled")) << r.err;
    EXPECT_EQ(GetFileAttributesW(L"devemu_dialog_none.png"), INVALID_FILE_ATTRIBUTES);
}

TEST(DevemuScreenshot, UnwritablePathFails) {
    Result r = Console({L"screenshot", L"no_such_directory_7f3a\\shot.png"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Contains(r.err, "cannot write")) << r.err;
    EXPECT_EQ(r.out, "");
}

}  // namespace

namespace {

int tapClicks = 0;

LRESULT CALLBACK TapParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++tapClicks;
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG start = GetTickCount64();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    } while (tapClicks == 0 && GetTickCount64() - start < milliseconds);
}

TEST(DevemuTap, ATapOnAControlClicksItAndATapBesideItDoesNot) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TapParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"DevemuTapTest";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, kLeft,
                                  kTop, kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Tap me 7f3a", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100,
                    40, parent, nullptr, wc.hInstance, nullptr);
    tapClicks = 0;
    PumpFor(100);

    Result r = Console({L"tap", std::to_wstring(kLeft + 130), std::to_wstring(kTop + 90)});
    ASSERT_EQ(r.code, 0) << r.err;
    PumpFor(300);
    EXPECT_EQ(tapClicks, 0) << "a tap beside the button clicked it";

    r = Console({L"tap", L"--text", L"Tap me 7f3a"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "tap " + std::to_string(kLeft + 60) + " " + std::to_string(kTop + 30) + "\n");
    PumpFor(kPatience);
    EXPECT_EQ(tapClicks, 1);

    EXPECT_EQ(Console({L"tap", L"--text", L"Nothing shows this 7f3a"}).code, 1);
    EXPECT_EQ(Console({L"tap", L"100000", L"5"}).code, 2);
    EXPECT_EQ(Console({L"tap", L"5"}).code, 2);
    DestroyWindow(parent);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

}  // namespace
