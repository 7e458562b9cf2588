// A full-screen window of the program: the shell's menu bar below it and its children scrolled
// vertically. The settings window and the gesture editor derive from it.
#pragma once

#include <atomic>
#include <memory>

#include "UserWindow.h"
#include "ce/Shell.h"

class MenuBar;

class TopLevelWindow : public UserWindow {
public:
    explicit TopLevelWindow(const wchar_t* title);
    ~TopLevelWindow() override;

    // Creates the window if it has none (OnCreate builds the children and the menu bar), makes
    // room for the menu bar and measures the content; then shows the window and brings it forward.
    void Open();
    // The rectangle around the children that carry an object, relative to the client area.
    RECT MeasureContent() const;
    // Pushes contentHeight and pageHeight to the scroll bar and scrolls back to the top.
    void UpdateScroll();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Up and Down move the focus through the controls in their order, bringing the focused one
    // into view (a text box scrolls its text first); Action acts on the focused control as a tap
    // would, opening a drop-down list; Back is the Cancel soft key.
    bool OnNavigationKey(HWND control, WPARAM key) override;
    // Menu commands go to the menu bar; a control's notification to the control, then to ours.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam) override;

    // The menu bar's commands: OK calls OnOk, Cancel OnCancel; others are ignored.
    INT_PTR OnMenuCommand(LPARAM args);
    virtual void OnOk() {}
    virtual void OnCancel() {}

    const wchar_t* title;  // not owned
    int contentHeight = 0;
    int pageHeight = 0;
    MenuBar* menuBar = nullptr;  // owned by the derived window
    SHACTIVATEINFO activateInfo{};
    // Set by the lock controller's thread at shutdown: the window's end then ends the loop.
    std::atomic<bool> quitOnDestroy{false};
    int scrollPos = 0;  // how far the children are scrolled up

protected:
    // For OnCreate: the soft keys "OK" and "Cancel" as `menuBar`, until the window is destroyed.
    void CreateSoftKeys();

private:
    // The controls that take the focus from the keys, in their order: enabled and visible, and
    // not the program's own drawn labels and views.
    int FocusableControls(HWND* controls, int capacity) const;
    void MoveFocus(HWND from, int step);
    void ScrollIntoView(HWND control);
    // Moves the content to `target` (already within bounds) and the scroll box with it.
    void ScrollTo(int target);

    std::unique_ptr<MenuBar> softKeys_;
};
