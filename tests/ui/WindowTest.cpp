// The window framework on a sample screen built of every control, the way the settings window is
// built: saved as screenshots for people to look at, scrolled, and acted on as a user would, to
// see what reaches whom. And the life of the program's window class, and what the emulated
// shell's menu bar (aygshell ordinal 34) refuses.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "ce/Shell.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"
#include "ui/Timer.h"

namespace {

using testing::ElementsAreArray;
using uitest::TestWindow;

bool ClassRegistered() {
    WNDCLASSW info{};
    return GetClassInfoW(AppInstance, UserWindow::kClassName, &info) != FALSE;
}

TEST(UserWindowClass, LivesFromTheFirstObjectToTheLast) {
    ASSERT_FALSE(ClassRegistered()) << "an earlier test left a UserWindow alive";
    auto first = std::make_unique<Label>();
    auto second = std::make_unique<Label>();
    EXPECT_TRUE(ClassRegistered());
    first.reset();
    EXPECT_TRUE(ClassRegistered()) << "one object still uses it";
    second.reset();
    EXPECT_FALSE(ClassRegistered()) << "the last object gave it back";
}

// What reached whom, in order.
std::vector<std::string> events;

class SampleScreen : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TestWindow>([this](TestWindow& w) { Build(w); }, L"Varnel");
        window->Open();
        uitest::PumpFor(300);
        events.clear();
    }

    void Build(TestWindow& w) {
        const HWND parent = w.Window();
        w.AddMenuBar();
        auto header = [&](const wchar_t* text, int y) {
            auto& label = w.Own(std::make_unique<Label>(Label::kSectionHeader));
            label.Create(parent, text, 8, y, 464, 40);
        };
        auto check = [&](const wchar_t* text, int x, int y, int width, bool checked) {
            auto& box = w.Own(std::make_unique<CheckBox>());
            box.Create(parent, text, x, y, width, 40);
            box.SetChecked(checked);
            return &box;
        };
        auto combo = [&](int x, int y, int width, std::initializer_list<const wchar_t*> items) {
            auto& box = w.Own(std::make_unique<ComboBox>());
            box.Create(parent, x, y, width, 200);
            box.SetItems(items);
            box.Select(0);
            return &box;
        };
        header(L"Gestures", 8);
        link = &w.Own(std::make_unique<LinkButton>());
        link->Create(parent, L"Edit gestures", 8, 54, 150, 40);
        toggle = check(L"Gestures toggle lock", 8, 100, 260, false);
        check(L"Gestures lock", 8, 146, 190, true);
        combo(204, 146, 170, {L"touch panel", L"everything"});
        check(L"Disable gestures on external power", 8, 192, 420, true);
        check(L"Disable gestures when upright", 8, 238, 370, false);
        header(L"Autolock", 300);
        awake =
            combo(8, 346, 210, {L"Lock panel", L"Do nothing", L"Lock everything", L"Unlock phone"});
        w.Own(std::make_unique<Label>()).Create(parent, L"when phone awakes", 224, 346, 220, 40);
        combo(8, 402, 210, {L"Do nothing", L"Lock everything", L"Lock panel", L"Unlock phone"});
        w.Own(std::make_unique<Label>())
            .Create(parent, L"when phone awakes on incoming call", 224, 392, 220, 60);
        check(L"Unlock phone when call connects", 8, 458, 400, true);
        check(L"Unlock phone when call ends", 8, 504, 400, false);
        check(L"Unlock phone on external power", 8, 550, 400, true);
        check(L"Relock when back on battery", 48, 596, 400, false);
        check(L"Unlock phone when stylus is removed", 8, 642, 450, false);
        check(L"Relock when stylus is inserted", 48, 688, 400, false);
        header(L"Feedback", 750);
        check(L"Vibrate on successful gesture", 8, 796, 360, true);
    }

    std::unique_ptr<TestWindow> window;
    LinkButton* link = nullptr;
    CheckBox* toggle = nullptr;
    ComboBox* awake = nullptr;
};

int ScreenTop(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.top;
}

TEST_F(SampleScreen, FillsThePhoneScreenAboveTheMenuBarScrollsAndIsSaved) {
    const std::wstring artifacts = test::BinDir() + L"\\..\\artifacts\\";
    CreateDirectoryW(artifacts.c_str(), nullptr);
    const HWND w = window->Window(), first = link->Window();
    RECT frame{}, bar{};
    GetWindowRect(w, &frame);
    GetWindowRect(window->menuBar->Window(), &bar);
    EXPECT_EQ(bar.left, 0);
    EXPECT_EQ(bar.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN)) << "the bar lies across the bottom";
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.bottom, bar.top) << "the window ends where the menu bar begins";
    auto result = test::Devemu({L"screenshot", artifacts + L"ui-sample.png"});
    EXPECT_EQ(result.code, 0) << result.err;

    // Measured in the client area, with as much margin below as above: the desktop's caption is
    // no part of it.
    EXPECT_EQ(window->contentHeight, 796 + 40 + 8);
    const int last = window->contentHeight - window->pageHeight, top = ScreenTop(first);
    auto expectAt = [&](int position, const char* what) {
        EXPECT_EQ(GetScrollPos(w, SB_VERT), position) << what << ": the bar";
        EXPECT_EQ(ScreenTop(first), top - position) << what << ": the controls";
    };
    SendMessageW(w, WM_VSCROLL, SB_BOTTOM, 0);
    uitest::PumpFor(300);
    expectAt(last, "bottom");
    // What came up from below the fold is painted, not left as it was.
    HWND feedback = FindWindowExW(w, nullptr, UserWindow::kClassName, L"Feedback");
    EXPECT_GT(uitest::Capture(feedback)->Count(RGB(128, 128, 128)), 100) << "its grey tab shows";
    result = test::Devemu({L"screenshot", artifacts + L"ui-sample-scrolled.png"});
    EXPECT_EQ(result.code, 0) << result.err;

    // Dragging the thumb: the box follows at once, the controls when the thumb is let go.
    SetScrollPos(w, SB_VERT, last / 2, TRUE);
    SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, last / 2), 0);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), last / 2) << "tracking: the box";
    EXPECT_EQ(ScreenTop(first), top - last) << "tracking leaves the controls where they were";
    SendMessageW(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last / 2), 0);
    expectAt(last / 2, "thumb let go");

    MoveWindow(w, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top - 100,
               TRUE);
    expectAt(0, "a new size starts again from the top");
    window->Open();
    EXPECT_EQ(window->Window(), w) << "opened again: the same window, not a second one";
}

TEST(TopLevelWindow, ContentShorterThanThePageStaysAtTheTop) {
    TestWindow window([](TestWindow& w) {
        w.AddMenuBar();
        w.Own(std::make_unique<Label>()).Create(w.Window(), L"Row", 8, 8, 200, 40);
    });
    window.Open();
    for (WORD code : {SB_PAGEDOWN, SB_BOTTOM}) {
        SendMessageW(window.Window(), WM_VSCROLL, code, 0);
        EXPECT_EQ(GetScrollPos(window.Window(), SB_VERT), 0) << "code " << code;
        EXPECT_EQ(window.scrollPos, 0) << "code " << code << ": the children did not move";
    }
}

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
        if (!seen) events.push_back("object first gets message " + std::to_string(message));
        seen = true;
        return UserWindow::WindowProc(message, wParam, lParam);
    }
    bool seen = false;
};

TEST_F(SampleScreen, EachEventReachesItsObject) {
    const HWND w = window->Window(), bar = window->menuBar->Window();
    Note box{"check box"}, parent{"parent command"}, menu{"menu bar"}, paint{"parent paint", w},
        elapsed{"timer"};
    toggle->checkedCallback.Set(Bind(&box, &Note::Value));
    window->commandCallback.Set(Bind(&parent, &Note::Hit));
    window->paintCallback.Set(Bind(&paint, &Note::Hit));
    window->menuBar->commandCallback.Set(Bind(&menu, &Note::Command));
    Timer timer(w, 3600 * 1000);  // an hour: it never fires by itself during the test
    timer.elapsedCallback.Set(Bind(&elapsed, &Note::Value));
    FirstMessage probe;  // outlives its window, which the sample takes along at the end
    auto click = [](HWND clicked) { SendMessageW(clicked, BM_CLICK, 0, 0); };
    auto repaint = [](HWND painted) {
        InvalidateRect(painted, nullptr, TRUE);
        UpdateWindow(painted);
    };

    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> expected;
    } cases[] = {
        // A control has identifier 0: its notifications are no menu commands.
        {"check box clicked", [&] { click(toggle->Window()); }, {"check box 1", "parent command"}},
        {"the bar's OK key", [&] { click(FindWindowExW(bar, nullptr, nullptr, L"OK")); },
         {"menu bar 40000"}},
        {"the bar's Cancel key", [&] { click(FindWindowExW(bar, nullptr, nullptr, L"Cancel")); },
         {"menu bar 40001"}},
        // The link draws itself, as its look below shows; the parent's paint is not reached.
        {"the owner-drawn link repainted", [&] { repaint(link->Window()); }, {}},
        {"the window repainted", [&] { repaint(w); }, {"parent paint"}},
        {"WM_TIMER naming the timer",
         [&] { SendMessageW(w, WM_TIMER, reinterpret_cast<WPARAM>(&timer), 0); }, {"timer 0"}},
        {"a window of our class created for an object",
         [&] {
             CreateWindowExW(0, UserWindow::kClassName, L"", WS_CHILD, 0, 0, 8, 8, w, nullptr,
                             AppInstance, &probe);
         },
         // Had the default procedure not handled WM_NCCREATE, no window and no WM_CREATE.
         {"object first gets message " + std::to_string(WM_CREATE)}},
    };
    for (const auto& c : cases) {
        events.clear();
        c.act();
        EXPECT_THAT(events, ElementsAreArray(c.expected)) << c.what;
    }
    window.reset();  // before the notes that it calls go
}

TEST_F(SampleScreen, TimerCallsBackWithZeroUntilDeleted) {
    Note elapsed{"elapsed"};
    auto timer = std::make_unique<Timer>(window->Window(), 20);
    timer->elapsedCallback.Set(Bind(&elapsed, &Note::Value));
    ASSERT_TRUE(uitest::PumpUntil([] { return !events.empty(); }));
    EXPECT_EQ(events.front(), "elapsed 0");
    const auto id = reinterpret_cast<UINT_PTR>(timer.get());
    timer.reset();
    EXPECT_FALSE(KillTimer(window->Window(), id)) << "the Timer took its platform timer along";
}

TEST_F(SampleScreen, ComboBoxReportsAConfirmedChoiceOnceAndNothingOnCancel) {
    Note chosen{"chosen"};
    awake->selectionCallback.Set(Bind(&chosen, &Note::Value));
    for (auto keys : {std::vector<WPARAM>{VK_DOWN, VK_DOWN, VK_RETURN}, {VK_UP, VK_ESCAPE}}) {
        SendMessageW(awake->Window(), CB_SHOWDROPDOWN, TRUE, 0);
        for (WPARAM key : keys) SendMessageW(awake->Window(), WM_KEYDOWN, key, 0);
        uitest::Pump();
    }
    EXPECT_EQ(events, std::vector<std::string>{"chosen 2"}) << "confirmed once, then cancelled";
    window.reset();  // before the note that it calls goes
}

TEST_F(SampleScreen, LinkIsUnderlinedInTheColourOfItsState) {
    const HWND button = link->Window();
    auto expectLook = [&](COLORREF colour, const char* state) {
        UpdateWindow(button);
        auto shown = uitest::Capture(button);
        // Underlined: a row of the text colour far longer than any letter.
        int widest = 0;
        for (int y = 0; y < 40; ++y) {
            widest = std::max(widest, shown->Count(colour, RECT{0, y, 150, y + 1}));
        }
        EXPECT_GT(widest, 60) << state << " in colour " << std::hex << colour;
    };
    expectLook(0xC00000, "normal");
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    expectLook(0xFF0080, "pressed");
    EnableWindow(button, FALSE);
    expectLook(GetSysColor(COLOR_GRAYTEXT), "disabled");
}

// Asks for a bar as the program does, with the bar's handle primed to show that it is written.
BOOL CreateBar(HWND parent, UINT resource, HWND& bar) {
    SHMENUBARINFO info{.cbSize = sizeof info, .hwndParent = parent, .dwFlags = 0,
                       .nToolBarId = resource, .hInstRes = AppInstance, .nBmpId = 0,
                       .cBmpImages = 0, .hwndMB = reinterpret_cast<HWND>(0x1234), .clrBk = 0};
    const BOOL made = SHCreateMenuBar(&info);
    bar = info.hwndMB;
    return made;
}

TEST(ShellMenuBar, RefusesBadResourcesAndWhileTheConsoleSaysSo) {
    TestWindow parent;
    parent.Open();
    HWND bar = nullptr;
    // The resources of TestResources.rc, and why each is refused.
    const std::pair<UINT, const char*> cases[] = {
        {201, "shorter than the header"}, {202, "odd length"}, {203, "fewer keys than counted"},
        {204, "caption string missing"}, {205, "needs a drop-down menu"}, {299, "no such resource"},
    };
    for (auto [resource, why] : cases) {
        EXPECT_FALSE(CreateBar(parent.Window(), resource, bar)) << why;
        EXPECT_EQ(bar, nullptr) << why;
    }

    ASSERT_EQ(test::Devemu({L"shell", L"refuse-menubar"}).code, 0);
    EXPECT_FALSE(CreateBar(parent.Window(), IDR_MENUBAR, bar)) << "refused";
    EXPECT_EQ(bar, nullptr) << "refused";
    ASSERT_EQ(test::Devemu({L"shell", L"accept"}).code, 0);
    EXPECT_TRUE(CreateBar(parent.Window(), IDR_MENUBAR, bar) && IsWindow(bar)) << "accepted again";
}

}  // namespace
