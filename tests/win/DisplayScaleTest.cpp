// At the display scale of this run: the pictures, the time labels, and a move to another scale.
#include "InProcess.h"

#include "platform/Scale.h"

// The average width and the height of a centred label's font's characters, and the pixels of its text's ink
// that the label cuts off: beyond its width, or, where the cell is taller, beyond the leading above and
// descent below.
std::pair<SIZE, int> TextSize(Window label)
{
    HDC dc = ::GetDC(label.GetHwnd());
    ::SelectObject(dc, label.GetFont() ? HGDIOBJ(label.GetFont()) : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    SIZE text{};
    ::GetTextMetricsA(dc, &metrics);
    ::GetTextExtentPoint32A(dc, label.GetText().c_str(), int(label.GetText().size()), &text);
    ::ReleaseDC(label.GetHwnd(), dc);
    RECT place = label.GetClientRect();
    int margin = std::min(metrics.tmInternalLeading, metrics.tmDescent);
    return {SIZE{metrics.tmAveCharWidth, metrics.tmHeight},
            std::max(0L, text.cx - place.right) +
                std::max(0L, (metrics.tmHeight - place.bottom + 1) / 2 - margin)};
}

// Under this Wine at 100 %, the map is 200 x 120 pixels of a client area of 306 x 369, and the
// system font's characters 7 x 16.
TEST(DisplayScale, TheMapKeepsItsShareOfTheWindowAndTheTimesTheSystemFontsLookUnclipped)
{
    RunApp("Tokyo\t9.00\r\n", [](CPavixDlg& d) {
        const char* asked = std::getenv("PAVIX_DPI");   // set where the run is at another scale
        UINT dpi = GetWindowDpi(d.GetHwnd());
        EXPECT_EQ(dpi, asked ? UINT(std::atoi(asked)) : kDefaultDpi);   // aware of the scale
        BITMAP map{};
        ::GetObjectA(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap(), sizeof map, &map);
        RECT client = d.GetClientRect();
        EXPECT_NEAR(map.bmWidth * 306.0 / 200 / client.right, 1, 0.05);
        EXPECT_NEAR(map.bmHeight * 369.0 / 120 / client.bottom, 1, 0.05);
        EXPECT_EQ(Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetFont() == nullptr, dpi == kDefaultDpi);
        d.Tick();
        auto [cell, cut] = TextSize(Window(d.GetItem(IDC_YOUR_CITY_TIME)));
        EXPECT_NEAR(cell.cx, 7.0 * dpi / 96, 1);   // the system font's shape, not squeezed
        EXPECT_NEAR(cell.cy, 16.0 * dpi / 96, 1);
        EXPECT_EQ(cut, 0);
    });
}

TEST(DisplayScale, OnAnotherScaleTheWindowTakesTheSuggestedRectangleAndNewFontAndMap)
{
    RunApp("Tokyo\t9.00\r\n", [](CPavixDlg& d) {
        RECT before, after;
        ::GetWindowRect(d.GetHwnd(), &before);
        RECT suggested{before.left + 8, before.top + 4, before.right * 2 - before.left, before.bottom * 2};
        UINT dpi = GetWindowDpi(d.GetHwnd()) * 2;
        HBITMAP oldMap = Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap();
        d.Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        ::GetWindowRect(d.GetHwnd(), &after);
        EXPECT_TRUE(::EqualRect(&after, &suggested));
        EXPECT_NEAR(TextSize(Window(d.GetItem(IDC_DESTINATION_TIME))).first.cy, 16.0 * dpi / 96, 1);
        EXPECT_NE(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap(), oldMap);
    });
}

// Common Controls 6, which draw in the system's visual style.
TEST(DisplayScale, ControlsAreThemed)
{
    char library[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("comctl32.dll"), library, MAX_PATH);
    EXPECT_NE(std::string(library).find("common-controls_6595b64144ccf1df_6."), std::string::npos) << library;
}
