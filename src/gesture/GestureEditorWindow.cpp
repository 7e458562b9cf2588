#include "GestureEditorWindow.h"

#include "app/AppGlobals.h"

GestureEditorWindow::GestureEditorWindow() : TopLevelWindow(L"Varnel") {}

GestureEditorWindow::~GestureEditorWindow() = default;

LRESULT GestureEditorWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    softKeys_ = std::make_unique<MenuBar>();
    softKeys_->Create(window, IDR_MENUBAR);
    softKeys_->commandCallback.Set(Bind(this, &GestureEditorWindow::OnMenuCommand));
    menuBar = softKeys_.get();
    return TopLevelWindow::OnCreate(wParam, lParam);
}

LRESULT GestureEditorWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    menuBar = nullptr;
    softKeys_.reset();
    return TopLevelWindow::OnDestroy(wParam, lParam);
}

void GestureEditorWindow::OnOk() {
    if (okCallback) okCallback.Invoke(0);
}

void GestureEditorWindow::OnCancel() {
    if (cancelCallback) cancelCallback.Invoke(0);
}

INT_PTR GestureEditorWindow::OnMenuCommand(LPARAM args) {
    switch (LOWORD(ArgsAt(args).wParam)) {
    case IDM_OK: OnOk(); break;
    case IDM_CANCEL: OnCancel(); break;
    default: break;
    }
    return 0;
}
