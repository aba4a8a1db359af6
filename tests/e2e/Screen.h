#pragma once
// What the screen shows, and input that goes through the system like a user's.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

// A copy of a rectangle of the screen, pixels as 0xRRGGBB.
class Capture {
public:
    explicit Capture(const RECT& screenRect);

    const RECT& Rect() const { return m_rect; }
    uint32_t At(int screenX, int screenY) const;

private:
    RECT m_rect;
    int m_width;
    std::vector<uint32_t> m_pixels;
};

struct ColourCount {
    int total = 0;
    int black = 0;
    int yellow = 0;  // pure (255, 255, 0)
    int white = 0;
    int blackToYellow = 0;  // blue 0 and red equal to green: black, yellow or smoothing between
};
// Counts the colours inside area (screen coordinates, clipped to the capture).
ColourCount CountColours(const Capture& capture, const RECT& area);

// How tall the yellow text of a label stands on screen, in pixels (0: none).
int YellowTextHeight(HWND label);

RECT ScreenRect(HWND window);
// The window's client rectangle in screen coordinates.
RECT ClientScreenRect(HWND window);

// Presses the left button at from, moves the mouse by (dx, dy) in steps and lets go.
void DragWithMouse(POINT from, int dx, int dy);
// A key press and release, delivered to the foreground window's focused control.
void PressKey(WORD virtualKey);
bool BringToForeground(HWND window);

}  // namespace e2e
