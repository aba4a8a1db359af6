#include "platform/Scale.h"
#include "platform/Static.h"

UINT GetWindowDpi(HWND window)
{
    // Looked up at run time: Windows 7 and 8 have no such function.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? dpi : GetSystemDpi();
}

UINT GetSystemDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : kDefaultDpi;
}

static SIZE FitShape(SIZE shape, SIZE place)
{
    if (shape.cx <= 0 || shape.cy <= 0)
        return {0, 0};
    if (LONGLONG(place.cx) * shape.cy <= LONGLONG(place.cy) * shape.cx)
        return {place.cx, ::MulDiv(place.cx, shape.cy, shape.cx)};
    return {::MulDiv(place.cy, shape.cx, shape.cy), place.cy};
}

static HBITMAP CreateBitmap24(SIZE size)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HBITMAP FitBitmap(std::initializer_list<int> bitmapIds, SIZE place)
{
    HBITMAP source = nullptr;
    BITMAP from{};
    SIZE fit{};
    for (int id : bitmapIds) {
        if (source)
            ::DeleteObject(source);
        source = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!source || !::GetObjectA(source, sizeof from, &from))
            break;
        if (!fit.cx)
            fit = FitShape({from.bmWidth, from.bmHeight}, place);
        if (from.bmWidth >= fit.cx && from.bmHeight >= fit.cy)
            break;
    }
    HBITMAP fitted = source && fit.cx > 0 && fit.cy > 0 ? CreateBitmap24(fit) : nullptr;
    if (fitted) {
        HDC sourceDc = ::CreateCompatibleDC(nullptr);
        HDC fittedDc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ oldSource = ::SelectObject(sourceDc, source);
        HGDIOBJ oldFitted = ::SelectObject(fittedDc, fitted);
        // HALFTONE averages the pixels that shrink into one, where the default drops them.
        ::SetStretchBltMode(fittedDc, HALFTONE);
        ::SetBrushOrgEx(fittedDc, 0, 0, nullptr);
        ::StretchBlt(fittedDc, 0, 0, fit.cx, fit.cy, sourceDc, 0, 0, from.bmWidth, from.bmHeight, SRCCOPY);
        ::SelectObject(sourceDc, oldSource);
        ::SelectObject(fittedDc, oldFitted);
        ::DeleteDC(sourceDc);
        ::DeleteDC(fittedDc);
    }
    if (source)
        ::DeleteObject(source);
    return fitted;
}

void FitPicture(HWND picture, std::initializer_list<int> bitmapIds, GdiObject& bitmap)
{
    Static control(picture);
    RECT place = control.GetClientRect();
    HBITMAP fitted = FitBitmap(bitmapIds, {place.right, place.bottom});
    // The control gives back what it showed and no longer uses: the template's bitmap, which it
    // would not delete, or the one fitted before, which bitmap deletes as it takes the new one.
    HBITMAP shown = control.SetBitmap(fitted);
    if (shown && shown != bitmap.Get())
        ::DeleteObject(shown);
    bitmap.Reset(fitted);
}

HFONT CreateSystemLookFont(UINT dpi)
{
    LOGFONTA font{};
    ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfHeight = ::MulDiv(16, int(dpi), kDefaultDpi);
    font.lfWidth = ::MulDiv(7, int(dpi), kDefaultDpi);
    font.lfWeight = FW_BOLD;
    // The stock face may be a raster font, which grows only in whole steps of its pixels.
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    return ::CreateFontIndirectA(&font);
}
