// What the controls report to their owners when the user acts on them, and the window timer.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "UiSupport.h"
#include "app/Trace.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Timer.h"

namespace {

using testing::Each;
using testing::ElementsAre;
using testing::IsEmpty;
using uitest::TestWindow;

struct Reports {
    INT_PTR Value(LPARAM value) {
        values.push_back(value);
        return 0;
    }
    INT_PTR Other(LPARAM) {
        others.push_back("click callback");
        return 0;
    }
    std::vector<LPARAM> values;
    std::vector<std::string> others;
};

TEST(CheckBoxControl, ReportsTheStateAfterEachClick) {
    Reports reports;
    CheckBox* box = nullptr;
    TestWindow window([&](TestWindow& w) {
        box = &w.Own(std::make_unique<CheckBox>());
        box->Create(w.Window(), L"Vibrate", 8, 8, 200, 40);
        box->checkedCallback.Set(Bind(&reports, &Reports::Value));
        box->clickCallback.Set(Bind(&reports, &Reports::Other));
    });
    window.Open();
    SendMessageW(box->Window(), BM_CLICK, 0, 0);
    SendMessageW(box->Window(), BM_CLICK, 0, 0);
    SendMessageW(box->Window(), BM_SETCHECK, BST_CHECKED, 0);  // set by program: no report
    SendMessageW(box->Window(), BM_CLICK, 0, 0);
    EXPECT_THAT(reports.values, ElementsAre(1, 0, 0));
    EXPECT_THAT(reports.others, IsEmpty()) << "a check box does not use its click callback";
}

class ComboBoxControl : public testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<TestWindow>([&](TestWindow& w) {
            combo_ = &w.Own(std::make_unique<ComboBox>());
            combo_->Create(w.Window(), 8, 8, 200, 200);
            for (const wchar_t* item : {L"Do nothing", L"Lock everything", L"Lock panel"}) {
                SendMessageW(combo_->Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            SendMessageW(combo_->Window(), CB_SETCURSEL, 0, 0);
            combo_->selectionCallback.Set(Bind(&reports_, &Reports::Value));
        });
        window_->Open();
    }
    void Drop() { SendMessageW(combo_->Window(), CB_SHOWDROPDOWN, TRUE, 0); }
    void Press(WPARAM key) {
        SendMessageW(combo_->Window(), WM_KEYDOWN, key, 0);
        SendMessageW(combo_->Window(), WM_KEYUP, key, 0);
    }

    std::unique_ptr<TestWindow> window_;
    ComboBox* combo_ = nullptr;
    Reports reports_;
};

TEST_F(ComboBoxControl, ReportsAConfirmedChoiceOnce) {
    Drop();
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    uitest::Pump();
    EXPECT_THAT(reports_.values, ElementsAre(2));
}

TEST_F(ComboBoxControl, ReportsNothingWhenCancelled) {
    Drop();
    Press(VK_DOWN);
    Press(VK_ESCAPE);
    Drop();
    SendMessageW(combo_->Window(), CB_SHOWDROPDOWN, FALSE, 0);
    uitest::Pump();
    EXPECT_THAT(reports_.values, IsEmpty());
}

TEST(WindowTimer, CallsBackWithZeroUntilDeleted) {
    TestWindow window;
    window.Open();
    Reports fast, other;
    auto timer = std::make_unique<Timer>(window.Window(), 20);
    timer->elapsedCallback.Set(Bind(&fast, &Reports::Value));
    Timer second(window.Window(), 20);
    second.elapsedCallback.Set(Bind(&other, &Reports::Value));

    ASSERT_TRUE(uitest::PumpUntil([&] { return fast.values.size() >= 3 && !other.values.empty(); }));
    EXPECT_THAT(fast.values, Each(0));

    timer.reset();
    const size_t before = fast.values.size(), otherBefore = other.values.size();
    ASSERT_TRUE(uitest::PumpUntil([&] { return other.values.size() >= otherBefore + 3; }))
        << "the other timer, whose id is its own address, runs on";
    EXPECT_EQ(fast.values.size(), before) << "no call after the Timer is deleted";
}

std::vector<std::string> traces;
void CollectTrace(const char* text) { traces.push_back(text); }

TEST(WindowTimer, RefusedTimerIsTracedAndNeverFires) {
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    traces.clear();
    TraceSink previous = SetTraceSink(CollectTrace);
    {
        Reports reports;
        Timer timer(gone, 20);
        timer.elapsedCallback.Set(Bind(&reports, &Reports::Value));
        uitest::PumpFor(100);
        EXPECT_THAT(reports.values, IsEmpty());
    }
    SetTraceSink(previous);
    EXPECT_THAT(traces, ElementsAre("Failed to create window timer"));
}

}  // namespace
