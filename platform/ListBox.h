#pragma once
#include "platform/Window.h"

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
    int GetTextLen(int index) const { return int(Send(LB_GETTEXTLEN, WPARAM(index))); }
    // The whole entry, however long; empty for an index out of range.
    std::string GetText(int index) const
    {
        int length = GetTextLen(index);
        if (length <= 0)
            return {};
        std::string text(size_t(length) + 1, '\0');
        int got = int(Send(LB_GETTEXT, WPARAM(index), LPARAM(text.data())));
        text.resize(got > 0 ? size_t(got) : 0);
        return text;
    }
};
