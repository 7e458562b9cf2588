// The emulated shell's menu bar, on its own: a plain parent window records what the bar sends.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "ce/Shell.h"

namespace {

using testing::ElementsAre;

constexpr wchar_t kParentClass[] = L"MenuBarTest|Parent";
constexpr wchar_t kBarClass[] = L"devemu|MenuBar";

std::vector<WPARAM> commands;  // WM_COMMAND wParams the parent received

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class ShellMenuBar : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = AppInstance;
        parentClass.lpszClassName = kParentClass;
        RegisterClassW(&parentClass);
        parent_ = CreateWindowExW(0, kParentClass, L"Menu bar parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  10, 10, 200, 200, nullptr, nullptr, AppInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
        commands.clear();
    }
    void TearDown() override {
        DestroyWindow(parent_);  // takes the bar, which it owns, along
        UnregisterClassW(kParentClass, AppInstance);
        test::Devemu({L"shell", L"accept"});
    }

    // The record as the program fills it, with the out field primed to show it is written.
    SHMENUBARINFO Record(UINT resource) const {
        SHMENUBARINFO info{};
        info.cbSize = sizeof info;
        info.hwndParent = parent_;
        info.nToolBarId = resource;
        info.hInstRes = AppInstance;
        info.hwndMB = reinterpret_cast<HWND>(0x1234);
        return info;
    }

    struct Key {
        std::wstring caption;
        int id;
        RECT rect;
    };
    static std::vector<Key> Keys(HWND bar) {
        std::vector<Key> keys;
        for (HWND key = GetWindow(bar, GW_CHILD); key; key = GetWindow(key, GW_HWNDNEXT)) {
            wchar_t text[64] = L"";
            GetWindowTextW(key, text, 64);
            RECT rect{};
            GetWindowRect(key, &rect);
            keys.push_back({text, GetDlgCtrlID(key), rect});
        }
        return keys;
    }

    HWND parent_ = nullptr;
};

TEST_F(ShellMenuBar, BuildsOneKeyPerEntryAcrossTheBottomOfTheScreen) {
    const uint64_t since = test::LogCount();
    SHMENUBARINFO info = Record(IDR_MENUBAR);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    HWND bar = info.hwndMB;
    ASSERT_TRUE(IsWindow(bar));
    EXPECT_GE(test::FindLog("menubar create resource=102 keys=2", since), 0);

    // A popup owned by the parent, so it stays above it and goes with it.
    EXPECT_EQ(GetWindow(bar, GW_OWNER), parent_);
    EXPECT_TRUE(IsWindowVisible(bar));
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT barRect{}, parentRect{};
    GetWindowRect(bar, &barRect);
    GetWindowRect(parent_, &parentRect);
    EXPECT_EQ(barRect.left, 0);
    EXPECT_EQ(barRect.right, width);
    EXPECT_EQ(barRect.bottom, height);
    EXPECT_GT(barRect.bottom - barRect.top, 20) << "tall enough to press";
    EXPECT_TRUE(EqualRect(&parentRect, std::data({RECT{0, 0, width, height}})))
        << "the parent is spread over the screen, as the phone's shell does";

    const std::vector<Key> keys = Keys(bar);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].caption, L"OK");
    EXPECT_EQ(keys[0].id, IDM_OK);
    EXPECT_EQ(keys[1].caption, L"Cancel");
    EXPECT_EQ(keys[1].id, IDM_CANCEL);
    EXPECT_LT(keys[0].rect.right, keys[1].rect.left) << "side by side, OK on the left";
    EXPECT_GT(keys[0].rect.right - keys[0].rect.left, width / 3) << "each key takes its share";

    SendMessageW(GetDlgItem(bar, IDM_CANCEL), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(bar, IDM_OK), BM_CLICK, 0, 0);
    EXPECT_THAT(commands, ElementsAre(MAKEWPARAM(IDM_CANCEL, 0), MAKEWPARAM(IDM_OK, 0)));

    DestroyWindow(bar);
    EXPECT_GE(test::FindLog("menubar destroy", since), 0);
}

TEST_F(ShellMenuBar, RefusesMissingOrMalformedResources) {
    const struct {
        UINT resource;
        const char* why;
    } cases[] = {
        {201, "shorter than the header"},
        {202, "odd length"},
        {203, "fewer keys than counted"},
        {204, "caption string missing"},
        {205, "needs a drop-down menu"},
        {299, "no such resource"},
    };
    for (const auto& c : cases) {
        const uint64_t since = test::LogCount();
        SHMENUBARINFO info = Record(c.resource);
        EXPECT_FALSE(SHCreateMenuBar(&info)) << c.why;
        EXPECT_EQ(info.hwndMB, nullptr) << c.why;
        EXPECT_EQ(FindWindowW(kBarClass, nullptr), nullptr) << c.why << ": no bar left behind";
        EXPECT_GE(test::FindLog("menubar failed resource=" + std::to_string(c.resource), since), 0)
            << c.why;
    }
}

TEST_F(ShellMenuBar, RefusesBadRecords) {
    SHMENUBARINFO shortRecord = Record(IDR_MENUBAR);
    shortRecord.cbSize = sizeof shortRecord - 1;
    EXPECT_FALSE(SHCreateMenuBar(&shortRecord));
    SHMENUBARINFO noParent = Record(IDR_MENUBAR);
    noParent.hwndParent = nullptr;
    EXPECT_FALSE(SHCreateMenuBar(&noParent));
    EXPECT_EQ(noParent.hwndMB, nullptr);
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    EXPECT_EQ(FindWindowW(kBarClass, nullptr), nullptr);
}

TEST_F(ShellMenuBar, ConsoleRefusalHoldsUntilAccepted) {
    ASSERT_EQ(test::Devemu({L"shell", L"refuse-menubar"}).code, 0);
    const uint64_t since = test::LogCount();
    SHMENUBARINFO info = Record(IDR_MENUBAR);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(info.hwndMB, nullptr);
    EXPECT_GE(test::FindLog("menubar refused", since), 0);

    ASSERT_EQ(test::Devemu({L"shell", L"accept"}).code, 0);
    info = Record(IDR_MENUBAR);
    EXPECT_TRUE(SHCreateMenuBar(&info));
    EXPECT_TRUE(IsWindow(info.hwndMB));
}

}  // namespace
