#include "Screen.h"

#include "Harness.h"

#include <algorithm>

namespace e2e {
namespace {

void SendMouse(DWORD flags, POINT at = {})
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute positions are in 0..65535 across the primary screen.
        input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    SendInput(1, &input, sizeof input);
}

void MoveMouseTo(POINT at)
{
    SetCursorPos(at.x, at.y);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, at);
}

}  // namespace

Capture::Capture(const RECT& screenRect) : m_rect(screenRect), m_width(screenRect.right - screenRect.left)
{
    int height = screenRect.bottom - screenRect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, m_width, height, screen, screenRect.left, screenRect.top, SRCCOPY);
    GdiFlush();
    auto* first = static_cast<const uint32_t*>(bits);
    m_pixels.assign(first, first + static_cast<size_t>(m_width) * height);
    for (auto& p : m_pixels)
        p &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

uint32_t Capture::At(int screenX, int screenY) const
{
    return m_pixels[static_cast<size_t>(screenY - m_rect.top) * m_width + (screenX - m_rect.left)];
}

ColourCount CountColours(const Capture& capture, const RECT& area)
{
    const RECT& r = capture.Rect();
    ColourCount count;
    for (int y = std::max(area.top, r.top); y < std::min(area.bottom, r.bottom); ++y) {
        for (int x = std::max(area.left, r.left); x < std::min(area.right, r.right); ++x) {
            uint32_t p = capture.At(x, y);
            unsigned red = p >> 16, green = (p >> 8) & 0xFF, blue = p & 0xFF;
            ++count.total;
            count.black += p == 0;
            count.yellow += p == 0xFFFF00;
            count.white += p == 0xFFFFFF;
            count.blackToYellow += blue == 0 && red == green;
        }
    }
    return count;
}

int YellowTextHeight(HWND label)
{
    RECT area = ScreenRect(label);
    Capture capture(area);
    int top = -1, bottom = -1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (capture.At(x, y) == 0xFFFF00) {
                top = top < 0 ? y : top;
                bottom = y + 1;
            }
    return top < 0 ? 0 : bottom - top;
}

RECT ScreenRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientScreenRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void DragWithMouse(POINT from, int dx, int dy)
{
    MoveMouseTo(from);
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(200);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        MoveMouseTo({from.x + dx * i / steps, from.y + dy * i / steps});
        Sleep(30);
    }
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void PressKey(WORD virtualKey)
{
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
}

bool BringToForeground(HWND window)
{
    return WaitUntil([&] {
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }, 3000);
}

}  // namespace e2e
