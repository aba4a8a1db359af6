#pragma once
#include "platform/Window.h"

#include <algorithm>

class ListBox : public Window {
public:
    ListBox() = default;
    explicit ListBox(HWND hwnd) : Window(hwnd) {}

    // A sorted list places the entry by its own comparison.
    int AddString(const std::string& text) const { return int(Send(LB_ADDSTRING, 0, LPARAM(text.c_str()))); }
    // Inserts at index (-1: the end) without sorting, even in a sorted list.
    int InsertString(int index, const std::string& text) const
    {
        return int(Send(LB_INSERTSTRING, WPARAM(index), LPARAM(text.c_str())));
    }
    void InitStorage(int count, size_t bytes) const { Send(LB_INITSTORAGE, WPARAM(count), LPARAM(bytes)); }
    void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw); }
    int GetCount() const { return int(Send(LB_GETCOUNT)); }
    int SetCurSel(int index) const { return int(Send(LB_SETCURSEL, WPARAM(index))); }
    int GetCurSel() const { return int(Send(LB_GETCURSEL)); }
    // The entry's rectangle in the list's client coordinates; false for an index out of range.
    bool GetItemRect(int index, RECT& rect) const
    {
        return Send(LB_GETITEMRECT, WPARAM(index), LPARAM(&rect)) != LB_ERR;
    }
    // The whole entry, however long; empty for an index out of range. Read as UTF-16 and turned
    // into the ANSI code page here: a Common Controls 6 list holds Unicode, and the system's own
    // conversion of LB_GETTEXT for the ...A call goes through a fixed buffer of 512 characters
    // under Wine, which a longer entry overruns.
    std::string GetText(int index) const
    {
        const int length = int(::SendMessageW(m_hWnd, LB_GETTEXTLEN, WPARAM(index), 0));
        if (length <= 0)
            return {};
        std::wstring wide(size_t(length) + 1, L'\0');
        const int got = int(::SendMessageW(m_hWnd, LB_GETTEXT, WPARAM(index), LPARAM(wide.data())));
        return got > 0 ? Narrow(wide.data(), got) : std::string();
    }

private:
    static std::string Narrow(const wchar_t* wide, int length)
    {
        const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
        std::string text(size_t(std::max(size, 0)), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, wide, length, text.data(), size, nullptr, nullptr);
        return text;
    }
};
