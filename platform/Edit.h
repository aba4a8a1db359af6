#pragma once
#include "platform/Window.h"

class Edit : public Window {
public:
    Edit() = default;
    explicit Edit(HWND hwnd) : Window(hwnd) {}
};
