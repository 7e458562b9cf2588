// The window framework: the class's life; what section headers draw, read back from memory
// bitmaps; and a screen of each kind of control, taller than the phone's, scrolled and acted on
// as a user would to see what reaches whom and how it looks.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"
#include "ui/Timer.h"

namespace {

using uitest::Bitmap;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kMarker = RGB(0, 255, 0);  // never drawn by the program: "left alone"

TEST(UserWindowClass, LivesFromTheFirstObjectToTheLast) {
    WNDCLASSW info{};
    auto first = std::make_unique<Label>(), second = std::make_unique<Label>();
    first.reset();
    EXPECT_TRUE(GetClassInfoW(AppInstance, UserWindow::kClassName, &info)) << "one object still uses it";
    second.reset();
    EXPECT_FALSE(GetClassInfoW(AppInstance, UserWindow::kClassName, &info)) << "the last object gave it back";
}

// Five by five pixels of a corner, read row by row from (x, y) inwards: '#' grey, '.' anything else.
std::vector<std::string> Corner(const Bitmap& b, int x, int y, int dx, int dy) {
    std::vector<std::string> rows(5);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) rows[r] += b.At(x + c * dx, y + r * dy) == kGrey ? '#' : '.';
    }
    return rows;
}

TEST(SectionHeader, RoundedTabTwelvePixelsWiderThanItsTextThenTheGradientLine) {
    ASSERT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255)) << "the phone's window colour, where the line ends";
    Bitmap b(300, 40, kMarker), empty(200, 40, kMarker);
    DrawLabel(b.dc(), Label::kSectionHeader, L"Gestures", 300, 40);
    SIZE text{};
    GetTextExtentPoint32W(b.dc(), L"Gestures", 8, &text);
    const int right = text.cx + 12;
    EXPECT_EQ(b.At(right - 1, 20), kGrey);
    EXPECT_EQ(b.At(right, 20), kMarker) << "the tab ends 12 pixels after its text";
    // Seven rectangles: the middle one full height, the ends stepped in by 4, 2 and 1 pixels.
    const std::vector<std::string> rounded{"....#", "..###", ".####", ".####", "#####"};
    EXPECT_EQ(Corner(b, 0, 0, 1, 1), rounded) << "top left";
    EXPECT_EQ(Corner(b, right - 1, 0, -1, 1), rounded) << "top right";
    EXPECT_EQ(Corner(b, 0, 39, 1, -1), rounded) << "bottom left";  // the right runs on in the line
    // The gradient line from 4 pixels inside the tab: grey 128 first, lighter towards the right.
    EXPECT_EQ(b.At(right, 38), kGrey);
    EXPECT_GT(GetRValue(b.At(250, 38)), GetRValue(b.At(right + 40, 38)));
    EXPECT_EQ(b.At(299, 38), kMarker) << "the line leaves its last column";
    DrawLabel(empty.dc(), Label::kSectionHeader, L"", 200, 40);
    EXPECT_EQ(empty.Count(kMarker, RECT{0, 0, 199, 4}), 0) << "the bar at the top";
    EXPECT_EQ(empty.Count(kMarker), 200 * 36 + 4) << "and nothing else: below it, and its last column";
}

// What reached whom, in order.
std::vector<std::string> events;

// Callbacks that note their name, with the value or the command they are handed.
struct Note {
    std::string name;
    HWND painted = nullptr;  // a paint must end the paint, which would otherwise come back forever
    INT_PTR Hit(LPARAM) {
        if (painted) ValidateRect(painted, nullptr);
        events.push_back(name);
        return TRUE;
    }
    INT_PTR Value(LPARAM value) {
        events.push_back(name + " " + std::to_string(value));
        return TRUE;
    }
    INT_PTR Command(LPARAM args) { return Value(LOWORD(ArgsAt(args).wParam)); }
};

// An object of our class that notes the first message it is handed.
struct FirstMessage : UserWindow {
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!seen) events.push_back("first message " + std::to_string(message));
        seen = true;
        return UserWindow::WindowProc(message, wParam, lParam);
    }
    bool seen = false;
};

// A header, a link, a check box, a combo box and its label at the top; the menu bar below; a
// second header further down than the phone's screen reaches.
class SampleScreen : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<uitest::TestWindow>([this](uitest::TestWindow& w) {
            w.AddMenuBar();
            for (auto [text, y] : {std::pair{L"Gestures", 8}, {L"Feedback", 900}}) {
                w.Own(std::make_unique<Label>(Label::kSectionHeader)).Create(w.Window(), text, 8, y, 464, 40);
            }
            link = &w.Own(std::make_unique<LinkButton>());
            link->Create(w.Window(), L"Edit gestures", 8, 54, 150, 40);
            box = &w.Own(std::make_unique<CheckBox>());
            box->Create(w.Window(), L"Gestures toggle lock", 8, 100, 260, 40);
            combo = &w.Own(std::make_unique<ComboBox>());
            combo->Create(w.Window(), 8, 146, 210, 200);
            combo->SetItems({L"Lock panel", L"Do nothing", L"Lock everything", L"Unlock phone"});
            combo->Select(0);
            w.Own(std::make_unique<Label>()).Create(w.Window(), L"when phone awakes", 224, 146, 220, 40);
        });
        window->Open();
        uitest::PumpFor(300);
    }

    int LinkTop() const {
        RECT rect{};
        GetWindowRect(link->Window(), &rect);
        return rect.top;
    }

    std::unique_ptr<uitest::TestWindow> window;
    LinkButton* link = nullptr;
    CheckBox* box = nullptr;
    ComboBox* combo = nullptr;
};

TEST_F(SampleScreen, IsSavedAndScrollsItsChildrenAsTheBarSays) {
    const HWND w = window->Window();
    const std::wstring artifacts = test::BinDir() + L"\\..\\artifacts";
    CreateDirectoryW(artifacts.c_str(), nullptr);
    const auto shot = test::Devemu({L"screenshot", artifacts + L"\\ui-sample.png"});
    EXPECT_EQ(shot.code, 0) << shot.err;
    EXPECT_EQ(window->contentHeight, 900 + 40 + 8) << "from the client area's top, with the margin below again";
    const int last = window->contentHeight - window->pageHeight, top = LinkTop();
    ASSERT_GT(last, 0) << "taller than the page";
    const auto expectAt = [&](int box, int children, const char* what) {
        EXPECT_EQ(GetScrollPos(w, SB_VERT), box) << what << ": the box";
        EXPECT_EQ(LinkTop(), top - children) << what << ": the controls, on the screen";
    };
    SendMessageW(w, WM_VSCROLL, SB_BOTTOM, 0);
    expectAt(last, last, "bottom");
    // Dragging the thumb: the box follows at once, the controls when the thumb is let go.
    SetScrollPos(w, SB_VERT, last / 2, TRUE);
    SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, last / 2), 0);
    expectAt(last / 2, last, "tracking");
    SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last / 2), 0);
    expectAt(last / 2, last / 2, "thumb let go");
    RECT frame{};
    GetWindowRect(w, &frame);
    MoveWindow(w, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top - 100, TRUE);
    expectAt(0, 0, "a new size starts again from the top");
    window->contentHeight = window->pageHeight - 1;  // as if the content were shorter than the page
    window->UpdateScroll();
    for (WPARAM code : {SB_PAGEDOWN, SB_BOTTOM}) {
        SendMessageW(w, WM_VSCROLL, code, 0);
        expectAt(0, 0, "content shorter than the page");
    }
    window->Open();
    EXPECT_EQ(window->Window(), w) << "opened again: the same window, not a second one";
}

TEST_F(SampleScreen, EachEventReachesItsObject) {
    const HWND w = window->Window(), bar = window->menuBar->Window();
    Note checked{"check box"}, parent{"parent command"}, menu{"menu bar"}, paint{"parent paint", w},
        elapsed{"timer"}, chosen{"chosen"};
    box->checkedCallback.Set(Bind(&checked, &Note::Value));
    window->paintCallback.Set(Bind(&paint, &Note::Hit));
    window->menuBar->commandCallback.Set(Bind(&menu, &Note::Command));
    combo->selectionCallback.Set(Bind(&chosen, &Note::Value));
    auto timer = std::make_unique<Timer>(w, 3600 * 1000);  // an hour: it never fires by itself here
    timer->elapsedCallback.Set(Bind(&elapsed, &Note::Value));
    FirstMessage probe;  // outlives its window, which the sample takes along at the end
    const auto keys = [&](std::initializer_list<WPARAM> pressed) {
        window->commandCallback.Clear();  // the list's own notifications are not looked at here
        SendMessageW(combo->Window(), CB_SHOWDROPDOWN, TRUE, 0);
        for (WPARAM key : pressed) SendMessageW(combo->Window(), WM_KEYDOWN, key, 0);
        uitest::Pump();
        window->commandCallback.Set(Bind(&parent, &Note::Hit));
    };
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> expected;
    } cases[] = {
        {"a choice confirmed", [&] { keys({VK_DOWN, VK_DOWN, VK_RETURN}); }, {"chosen 2"}},
        {"a choice cancelled", [&] { keys({VK_UP, VK_ESCAPE}); }, {}},
        // A control has identifier 0: its notifications are no menu commands.
        {"check box clicked", [&] { SendMessageW(box->Window(), BM_CLICK, 0, 0); }, {"check box 1", "parent command"}},
        {"the bar's key", [&] { SendMessageW(FindWindowExW(bar, nullptr, nullptr, L"OK"), BM_CLICK, 0, 0); },
         {"menu bar 40000"}},
        // The owner-drawn link draws itself, as its look shows; the parent's paint is not reached.
        {"the link repainted", [&] { RedrawWindow(link->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); },
         {}},
        {"the window repainted", [&] { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); },
         {"parent paint"}},
        {"WM_TIMER naming the timer", [&] { SendMessageW(w, WM_TIMER, reinterpret_cast<WPARAM>(timer.get()), 0); },
         {"timer 0"}},
        // Had the default procedure not handled WM_NCCREATE, no window and no WM_CREATE.
        {"a window of our class made for an object",
         [&] { CreateWindowExW(0, UserWindow::kClassName, L"", WS_CHILD, 0, 0, 8, 8, w, nullptr, AppInstance, &probe); },
         {"first message " + std::to_string(WM_CREATE)}},
    };
    for (const auto& c : cases) {
        events.clear();
        c.act();
        EXPECT_EQ(events, c.expected) << c.what;
    }
    // A timer of its own calls back with 0, until deleted.
    events.clear();
    timer = std::make_unique<Timer>(w, 20);
    timer->elapsedCallback.Set(Bind(&elapsed, &Note::Value));
    ASSERT_TRUE(uitest::PumpUntil([] { return !events.empty(); }));
    EXPECT_EQ(events.front(), "timer 0");
    const auto id = reinterpret_cast<UINT_PTR>(timer.get());
    timer.reset();
    EXPECT_FALSE(KillTimer(w, id)) << "the Timer took its platform timer along";
    window.reset();  // before the notes that its objects call go
}

TEST_F(SampleScreen, LinkIsUnderlinedInTheColourOfItsStateAndALabelShowsUpTo79Characters) {
    const HWND button = link->Window();
    for (int state : {0, 1, 2}) {
        if (state == 1) SendMessageW(button, BM_SETSTATE, TRUE, 0);
        if (state == 2) EnableWindow(button, FALSE);
        UpdateWindow(button);
        const COLORREF colour = state == 0 ? 0xC00000 : state == 1 ? 0xFF0080 : GetSysColor(COLOR_GRAYTEXT);
        // Underlined: a row of the text colour far longer than any letter.
        const auto shown = uitest::Capture(button);
        int widest = 0;
        for (int y = 0; y < 40; ++y) widest = std::max(widest, shown->Count(colour, RECT{0, y, 150, y + 1}));
        EXPECT_GT(widest, 60) << "state " << state << " in colour " << std::hex << colour;
    }

    std::wstring text;
    for (int i = 0; i < 100; ++i) text += i % 10 == 4 ? L' ' : static_cast<wchar_t>(L'a' + i % 26);
    Label label;
    label.Create(window->Window(), text.c_str(), 0, 0, 400, 120);
    // Counted in black pixels: the label's drawing against its first 79 characters drawn plainly.
    Bitmap shown(400, 120, RGB(255, 255, 255)), cut(400, 120, RGB(255, 255, 255));
    label.Draw(shown.dc());
    DrawLabel(cut.dc(), Label::kPlain, text.substr(0, 79).c_str(), 400, 120);
    EXPECT_EQ(shown.Count(RGB(0, 0, 0)), cut.Count(RGB(0, 0, 0)));
}

}  // namespace
