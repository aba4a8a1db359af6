#pragma once
#include "platform/Window.h"

class Static : public Window {
public:
    Static() = default;
    explicit Static(HWND hwnd) : Window(hwnd) {}
};
