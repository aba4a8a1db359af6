#pragma once
#include "platform/Window.h"

class Button : public Window {
public:
    Button() = default;
    explicit Button(HWND hwnd) : Window(hwnd) {}

    void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
    bool GetCheck() const { return Send(BM_GETCHECK) == BST_CHECKED; }
};
