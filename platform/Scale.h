#pragma once
#include <windows.h>

#include <initializer_list>

// Display scale: the DPI a window shows at, and pictures and fonts made for it.

constexpr UINT kDefaultDpi = 96;   // 100 %

// The DPI of the monitor the window is on; the system's where the system has no DPI per
// window (before Windows 10 1607).
UINT GetWindowDpi(HWND window);
// The DPI the system's stock fonts and metrics were made for.
UINT GetSystemDpi();

// bitmapIds hold one picture at growing sizes. Returns a new bitmap, the largest of the picture's
// shape that fits in place, shrunk from the smallest of them at least that large: never
// stretched up while a larger one is at hand.
HBITMAP FitBitmap(std::initializer_list<int> bitmapIds, SIZE place);
class GdiObject;
// Shows in the picture control the bitmap that FitBitmap makes for its size; bitmap holds it.
void FitPicture(HWND picture, std::initializer_list<int> bitmapIds, GdiObject& bitmap);
// A new font with the system font's look (bold, 16 by 7 pixels at 100 %) made for dpi.
HFONT CreateSystemLookFont(UINT dpi);

// A font or bitmap, deleted with its holder or when it is replaced.
class GdiObject {
public:
    GdiObject() = default;
    ~GdiObject() { Reset(nullptr); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ Get() const { return m_object; }
    void Reset(HGDIOBJ object)
    {
        if (m_object)
            ::DeleteObject(m_object);
        m_object = object;
    }

private:
    HGDIOBJ m_object = nullptr;
};
