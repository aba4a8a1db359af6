#pragma once
#include <windows.h>
#include <string>

// A window handle and the one-call operations on it; owns nothing.
class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : m_hWnd(hwnd) {}

    HWND GetHwnd() const { return m_hWnd; }
    explicit operator bool() const { return m_hWnd != nullptr; }

    HWND GetItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool SetText(const std::string& text) const { return ::SetWindowTextA(m_hWnd, text.c_str()) != FALSE; }
    std::string GetText() const;
    LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::SendMessageA(m_hWnd, message, w, l);
    }
    bool Post(UINT message, WPARAM w = 0, LPARAM l = 0) const
    {
        return ::PostMessageA(m_hWnd, message, w, l) != FALSE;
    }
    bool Show(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    bool IsVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool Enable(bool enable) const { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    RECT GetClientRect() const
    {
        RECT r{};
        ::GetClientRect(m_hWnd, &r);
        return r;
    }
    RECT GetClientRectOnScreen() const;
    void SetFont(HFONT font, bool redraw) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
    void SetIcon(HICON icon, bool big) const
    {
        Send(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    // Drawn without the system's visual style: with it, a radio button's or a group box's caption
    // takes the style's ink, not the colour the dialog asks for.
    void SetClassicLook() const;
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const
    {
        return ::SetTimer(m_hWnd, id, milliseconds, nullptr);
    }

protected:
    HWND m_hWnd = nullptr;
};
