#pragma once
#include "platform/Window.h"

class Static : public Window {
public:
    Static() = default;
    explicit Static(HWND hwnd) : Window(hwnd) {}

    // The picture controls: each returns the image shown before, which the caller now owns.
    HBITMAP SetBitmap(HBITMAP bitmap) const
    {
        return reinterpret_cast<HBITMAP>(Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(Send(STM_GETIMAGE, IMAGE_BITMAP)); }
    HICON SetPictureIcon(HICON icon) const
    {
        return reinterpret_cast<HICON>(Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};
