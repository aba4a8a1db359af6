#pragma once
#include <windows.h>
#include <string>

// A pop-up menu built for one request; Destroy releases it.
class Menu {
public:
    bool CreatePopup()
    {
        m_hMenu = ::CreatePopupMenu();
        return m_hMenu != nullptr;
    }
    bool AppendString(UINT id, const std::string& text, bool checked = false) const
    {
        return ::AppendMenuA(m_hMenu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), id, text.c_str()) !=
            FALSE;
    }
    bool AppendSeparator(UINT id) const { return ::AppendMenuA(m_hMenu, MF_SEPARATOR, id, "") != FALSE; }
    bool Track(UINT flags, int x, int y, HWND owner) const
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr) != FALSE;
    }
    void Destroy()
    {
        if (m_hMenu)
            ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
    }
    HMENU GetHandle() const { return m_hMenu; }

private:
    HMENU m_hMenu = nullptr;
};
