#include "platform/Window.h"

#include <uxtheme.h>

std::string Window::GetText() const
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(m_hWnd)), '\0');
    if (!text.empty())
        text.resize(
            static_cast<size_t>(::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size() + 1))));
    return text;
}

RECT Window::GetClientRectOnScreen() const
{
    RECT r = GetClientRect();
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Window::SetClassicLook() const
{
    ::SetWindowTheme(m_hWnd, L" ", L" ");
}
