// The binding of objects to windows and the dispatch of messages to handlers and callbacks.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "ui/CheckBox.h"
#include "ui/Label.h"
#include "ui/OwnerDrawControl.h"
#include "ui/Timer.h"

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using uitest::TestWindow;

bool ClassRegistered() {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    return GetClassInfoExW(AppInstance, UserWindow::kClassName, &info) != FALSE;
}

TEST(UserWindowClass, LivesFromTheFirstObjectToTheLast) {
    ASSERT_FALSE(ClassRegistered()) << "an earlier test left a UserWindow alive";
    auto first = std::make_unique<Label>();
    ASSERT_TRUE(ClassRegistered());

    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    GetClassInfoExW(AppInstance, UserWindow::kClassName, &info);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.lpfnWndProc, &StaticWindowProc);
    EXPECT_EQ(info.hIcon, AppIcon);
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_EQ(info.hbrBackground, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);

    auto second = std::make_unique<Label>();
    first.reset();
    EXPECT_TRUE(ClassRegistered()) << "one object still uses it";
    second.reset();
    EXPECT_FALSE(ClassRegistered()) << "the last object gave it back";

    Label again;
    EXPECT_TRUE(ClassRegistered()) << "and a new first object registers it again";
}

// Records every message its object is handed, and which callback slot each message reached.
class Probe : public UserWindow {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return UserWindow::WindowProc(message, wParam, lParam);
    }
    template <int Slot>
    INT_PTR Hit(LPARAM args) {
        hits.push_back({Slot, ArgsAt(args).wParam, ArgsAt(args).lParam});
        return 100 + Slot;
    }
    struct HitRecord {
        int slot;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const HitRecord&) const = default;
    };
    std::vector<UINT> messages;
    std::vector<HitRecord> hits;
};

void PrintTo(const Probe::HitRecord& h, std::ostream* os) {
    *os << "{slot " << h.slot << ", " << h.wParam << ", " << h.lParam << "}";
}

HWND CreateProbeWindow(Probe& probe) {
    return CreateWindowExW(0, UserWindow::kClassName, L"Probe title", WS_POPUP, 0, 0, 100, 100,
                           nullptr, nullptr, AppInstance, &probe);
}

TEST(UserWindowBinding, MessagesBeforeCreateGoToTheDefaultProcedure) {
    Probe probe;
    HWND window = CreateProbeWindow(probe);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(probe.messages.empty());
    EXPECT_EQ(probe.messages.front(), static_cast<UINT>(WM_CREATE))
        << "WM_NCCREATE and friends came before the object was bound";
    EXPECT_EQ(probe.Window(), window);
    wchar_t title[32] = L"";
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"Probe title") << "the default procedure handled WM_NCCREATE";

    // A window of the class without an object lives on the default procedure alone.
    HWND bare = CreateWindowExW(0, UserWindow::kClassName, L"bare", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, AppInstance, nullptr);
    ASSERT_NE(bare, nullptr);
    SetWindowTextW(bare, L"renamed");
    GetWindowTextW(bare, title, 32);
    EXPECT_STREQ(title, L"renamed");
    DestroyWindow(bare);

    DestroyWindow(window);
    EXPECT_EQ(probe.Window(), nullptr) << "the object let go of its window";
}

TEST(UserWindowBinding, EachMessageReachesItsOwnHandlerAndCallback) {
    Probe probe;
    probe.createCallback.Set(Bind(&probe, &Probe::Hit<0>));
    probe.destroyCallback.Set(Bind(&probe, &Probe::Hit<1>));
    probe.paintCallback.Set(Bind(&probe, &Probe::Hit<2>));
    probe.setCursorCallback.Set(Bind(&probe, &Probe::Hit<3>));
    probe.mouseMoveCallback.Set(Bind(&probe, &Probe::Hit<4>));
    probe.lButtonDownCallback.Set(Bind(&probe, &Probe::Hit<5>));
    probe.lButtonUpCallback.Set(Bind(&probe, &Probe::Hit<6>));
    probe.sizeCallback.Set(Bind(&probe, &Probe::Hit<7>));
    probe.vScrollCallback.Set(Bind(&probe, &Probe::Hit<8>));
    probe.commandCallback.Set(Bind(&probe, &Probe::Hit<9>));
    HWND window = CreateProbeWindow(probe);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(probe.hits.empty());
    EXPECT_EQ(probe.hits[0].slot, 0) << "create comes first";
    probe.hits.clear();

    const struct {
        UINT message;
        int slot;
    } cases[] = {
        {WM_PAINT, 2},       {WM_SETCURSOR, 3},  {WM_MOUSEMOVE, 4}, {WM_LBUTTONDOWN, 5},
        {WM_LBUTTONUP, 6},   {WM_SIZE, 7},       {WM_VSCROLL, 8},   {WM_COMMAND, 9},
    };
    std::vector<Probe::HitRecord> expected;
    for (const auto& c : cases) {
        const WPARAM wParam = 0x10 + c.slot;
        const LPARAM lParam = c.message == WM_VSCROLL ? 0 : 0x20000 + c.slot;
        EXPECT_EQ(SendMessageW(window, c.message, wParam, lParam), 100 + c.slot)
            << "message 0x" << std::hex << c.message << ": the callback's result is the message's";
        expected.push_back({c.slot, wParam, lParam});
    }
    EXPECT_THAT(probe.hits, ElementsAreArray(expected));

    probe.hits.clear();
    DestroyWindow(window);
    ASSERT_EQ(probe.hits.size(), 1u);
    EXPECT_EQ(probe.hits[0].slot, 1) << "destroy";
}

TEST(UserWindowBinding, ReplacingACallbackKeepsItsOwnCopy) {
    Probe probe;
    HWND window = CreateProbeWindow(probe);
    {
        MemberCallback<Probe> first = Bind(&probe, &Probe::Hit<1>);
        probe.sizeCallback.Set(first);
    }  // the caller's binding is gone; the slot holds a clone
    SendMessageW(window, WM_SIZE, 0, 0);
    probe.sizeCallback.Set(Bind(&probe, &Probe::Hit<2>));
    SendMessageW(window, WM_SIZE, 0, 0);
    probe.sizeCallback.Clear();
    SendMessageW(window, WM_SIZE, 0, 0);  // no callback: the platform's default, no hit
    ASSERT_EQ(probe.hits.size(), 2u);
    EXPECT_EQ(probe.hits[0].slot, 1);
    EXPECT_EQ(probe.hits[1].slot, 2);
    DestroyWindow(window);
}

// What reached whom, in order, across a window and its controls.
std::vector<std::string> events;

struct Recorder {
    INT_PTR ParentCommand(LPARAM args) {
        events.push_back("parent command code=" + std::to_string(HIWORD(ArgsAt(args).wParam)));
        return 0;
    }
    INT_PTR MenuCommand(LPARAM args) {
        events.push_back("menu " + std::to_string(LOWORD(ArgsAt(args).wParam)));
        return 0;
    }
    INT_PTR Checked(LPARAM checked) {
        events.push_back("check box " + std::to_string(checked));
        return 0;
    }
    INT_PTR ParentPaint(LPARAM) {
        events.push_back("parent paint");
        ValidateRect(paintedWindow, nullptr);
        return 0;
    }
    INT_PTR ButtonDraw(LPARAM args) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(ArgsAt(args).lParam);
        events.push_back(item->hwndItem == drawnButton ? "button draw" : "button draw for another");
        return TRUE;
    }
    INT_PTR Elapsed(LPARAM argument) {
        events.push_back("timer " + std::to_string(argument));
        return 0;
    }
    INT_PTR ParentScroll(LPARAM) {
        events.push_back("parent scroll");
        return 0;
    }
    HWND paintedWindow = nullptr;
    HWND drawnButton = nullptr;
};

class Routing : public testing::Test {
protected:
    void SetUp() override { events.clear(); }
    Recorder recorder;
};

TEST_F(Routing, ControlNotificationReachesTheControlFirstAndMenuCommandsOnlyTheBar) {
    CheckBox* box = nullptr;
    TestWindow window([&](TestWindow& w) {
        w.AddMenuBar().commandCallback.Set(Bind(&recorder, &Recorder::MenuCommand));
        box = &w.Own(std::make_unique<CheckBox>());
        box->Create(w.Window(), L"Check", 8, 8, 200, 40);
        box->checkedCallback.Set(Bind(&recorder, &Recorder::Checked));
    });
    window.commandCallback.Set(Bind(&recorder, &Recorder::ParentCommand));
    window.Open();
    ASSERT_NE(box->Window(), nullptr);

    SendMessageW(box->Window(), BM_CLICK, 0, 0);
    EXPECT_THAT(events, ElementsAre("check box 1", "parent command code=0"));

    events.clear();
    SendMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(IDM_OK, 0), 0);
    SendMessageW(GetDlgItem(window.menuBar->Window(), IDM_CANCEL), BM_CLICK, 0, 0);
    EXPECT_THAT(events, ElementsAre("menu 40000", "menu 40001"))
        << "menu commands, sent and pressed, reach the bar's callback only";
}

TEST_F(Routing, OwnerDrawnButtonDrawsItselfNotTheParent) {
    OwnerDrawControl* button = nullptr;
    TestWindow window([&](TestWindow& w) {
        button = &w.Own(std::make_unique<OwnerDrawControl>());
        button->CreateChild(L"BUTTON", WS_CHILD | BS_OWNERDRAW, w.Window(), L"Draw me", 8, 8, 120, 40);
        button->drawCallback.Set(Bind(&recorder, &Recorder::ButtonDraw));
    });
    window.paintCallback.Set(Bind(&recorder, &Recorder::ParentPaint));
    window.Open();
    recorder.paintedWindow = window.Window();
    recorder.drawnButton = button->Window();
    uitest::Pump();

    events.clear();
    InvalidateRect(button->Window(), nullptr, TRUE);
    UpdateWindow(button->Window());
    EXPECT_THAT(events, ElementsAre("button draw"));

    events.clear();
    InvalidateRect(window.Window(), nullptr, TRUE);
    UpdateWindow(window.Window());
    EXPECT_THAT(events, ElementsAre("parent paint")) << "the parent's own paint still reaches it";
}

std::vector<std::string> timerProcCalls;
void CALLBACK RecordingTimerProc(HWND window, UINT message, UINT_PTR id, DWORD) {
    timerProcCalls.push_back(std::to_string(message == WM_TIMER) + " id=" + std::to_string(id) +
                             (window ? " window" : " no window"));
}

TEST_F(Routing, TimerMessagesReachTheTimerNamedInThem) {
    TestWindow window;
    window.Open();
    // An hour: it never fires by itself during the test.
    Timer timer(window.Window(), 3600 * 1000);
    timer.elapsedCallback.Set(Bind(&recorder, &Recorder::Elapsed));

    EXPECT_EQ(SendMessageW(window.Window(), WM_TIMER, reinterpret_cast<WPARAM>(&timer), 0), 0);
    EXPECT_THAT(events, ElementsAre("timer 0"));

    timerProcCalls.clear();
    SendMessageW(window.Window(), WM_TIMER, 0, reinterpret_cast<LPARAM>(&RecordingTimerProc));
    EXPECT_THAT(timerProcCalls, ElementsAre("1 id=0 window"));
    EXPECT_THAT(events, ElementsAre("timer 0")) << "no other timer was called";
}

// A scroll-bar control's object, which records what it is handed.
class ScrollBarProbe : public WindowObject {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_VSCROLL) events.push_back("scroll bar control");
        return WindowObject::WindowProc(message, wParam, lParam);
    }
};

TEST_F(Routing, ScrollBarControlGetsItsOwnScrolling) {
    ScrollBarProbe* bar = nullptr;
    TestWindow window([&](TestWindow& w) {
        bar = &w.Own(std::make_unique<ScrollBarProbe>());
        bar->CreateChild(L"SCROLLBAR", WS_CHILD | SBS_VERT, w.Window(), nullptr, 400, 8, 20, 200);
    });
    window.Open();
    window.vScrollCallback.Set(Bind(&recorder, &Recorder::ParentScroll));
    SendMessageW(window.Window(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar->Window()));
    EXPECT_THAT(events, ElementsAre("scroll bar control"));
}

TEST_F(Routing, WindowOutlivingItsObjectFallsBackToTheDefault) {
    std::unique_ptr<Label> label = std::make_unique<Label>();
    TestWindow window([&](TestWindow& w) { label->Create(w.Window(), L"Before", 8, 8, 200, 40); });
    window.Open();
    HWND labelWindow = label->Window();
    ASSERT_NE(labelWindow, nullptr);

    label.reset();  // the object goes first, as when an owner deletes its controls on WM_DESTROY
    SetWindowTextW(labelWindow, L"After");
    InvalidateRect(labelWindow, nullptr, TRUE);
    UpdateWindow(labelWindow);
    wchar_t text[16] = L"";
    GetWindowTextW(labelWindow, text, 16);
    EXPECT_STREQ(text, L"After");
    DestroyWindow(window.Window());  // the label's last messages find no object
    EXPECT_FALSE(IsWindow(labelWindow));
    EXPECT_EQ(window.Window(), nullptr);
}

}  // namespace
