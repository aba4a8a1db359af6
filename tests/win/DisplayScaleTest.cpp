// At the display scale of this run: the pictures, the time labels, and a move to another scale.
#include "InProcess.h"

#include "platform/Scale.h"
#include "ui/PAbout.h"

// Under this Wine at 100 %, the map is this many pixels of a client area of so many.
constexpr SIZE kMapAt96{200, 120};
constexpr SIZE kClientAt96{306, 369};

// The box around the pixels of dc's area that differ from its top left corner, the background.
RECT InkBox(HDC dc, SIZE area)
{
    const COLORREF background = ::GetPixel(dc, 0, 0);
    RECT ink{area.cx, area.cy, 0, 0};
    for (int y = 0; y < area.cy; ++y) {
        for (int x = 0; x < area.cx; ++x) {
            if (::GetPixel(dc, x, y) == background)
                continue;
            ink = {std::min(ink.left, LONG(x)), std::min(ink.top, LONG(y)), std::max(ink.right, LONG(x + 1)),
                   std::max(ink.bottom, LONG(y + 1))};
        }
    }
    return ink;
}

// The box around the ink of what a label shows, painted as it paints itself.
RECT LabelInk(Window label)
{
    const RECT client = label.GetClientRect();
    const SIZE area{client.right, client.bottom};
    HDC screen = ::GetDC(label.GetHwnd());
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, ::CreateCompatibleBitmap(screen, area.cx, area.cy));
    label.Send(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
    const RECT ink = InkBox(dc, area);
    ::DeleteObject(::SelectObject(dc, old));
    ::DeleteDC(dc);
    ::ReleaseDC(label.GetHwnd(), screen);
    return ink;
}

// The height of the ink of text in the system's own font, scaled from this run's system scale to
// dpi. (Wine's stock font keeps its 100 % width at other scales, so only its height is a measure.)
LONG SystemFontInkHeight(const std::string& text, UINT dpi)
{
    const SIZE area{400, 100};
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, ::CreateCompatibleBitmap(screen, area.cx, area.cy));
    RECT all{0, 0, area.cx, area.cy};
    ::FillRect(dc, &all, HBRUSH(::GetStockObject(BLACK_BRUSH)));
    ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
    ::SetTextColor(dc, RGB(255, 255, 0));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, text.c_str(), int(text.size()), &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = InkBox(dc, area);
    ::DeleteObject(::SelectObject(dc, old));
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return LONG((ink.bottom - ink.top) * double(dpi) / GetSystemDpi() + 0.5);
}

// The times show in the system font's size at the window's scale, whole: clear of both sides.
void ExpectTimesInTheSystemFontsSize(CPavixDlg& d, UINT dpi)
{
    for (int id : {IDC_YOUR_CITY_TIME, IDC_DESTINATION_TIME}) {
        SCOPED_TRACE(id);
        Window label(d.GetItem(id));
        const RECT ink = LabelInk(label);
        EXPECT_NEAR(ink.bottom - ink.top, SystemFontInkHeight(label.GetText(), dpi), dpi / kDefaultDpi);
        EXPECT_GT(ink.left, 0);
        EXPECT_LT(ink.right, label.GetClientRect().right);
    }
}

TEST(DisplayScale, TheMapKeepsItsShareOfTheWindowAndTheTimesTheSystemFontsSize)
{
    RunApp("Tokyo\t9.00\r\n", [](CPavixDlg& d) {
        const char* asked = std::getenv("PAVIX_DPI");   // set where the run is at another scale
        const UINT dpi = GetWindowDpi(d.GetHwnd());
        EXPECT_EQ(dpi, asked ? UINT(std::atoi(asked)) : kDefaultDpi);   // aware of the scale
        BITMAP map{};
        ::GetObjectA(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap(), sizeof map, &map);
        const RECT client = d.GetClientRect();
        EXPECT_NEAR(map.bmWidth * double(kClientAt96.cx) / kMapAt96.cx / client.right, 1, 0.05);
        EXPECT_NEAR(map.bmHeight * double(kClientAt96.cy) / kMapAt96.cy / client.bottom, 1, 0.05);
        d.Tick();
        ExpectTimesInTheSystemFontsSize(d, dpi);
    });
}

// The height of the characters of a label's font, or of the system font where it has none.
LONG FontHeight(Window label)
{
    HDC dc = ::GetDC(label.GetHwnd());
    HGDIOBJ old =
        ::SelectObject(dc, label.GetFont() ? HGDIOBJ(label.GetFont()) : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(label.GetHwnd(), dc);
    return metrics.tmHeight;
}

// Wine 8 leaves the controls where they were (the dialog manager lays them out anew on Windows),
// so the labels' new font is checked, not what they show.
TEST(DisplayScale, OnAnotherScaleTheWindowTakesTheSuggestedRectangleAndNewFontAndMap)
{
    RunApp("Tokyo\t9.00\r\n", [](CPavixDlg& d) {
        RECT before, after;
        ::GetWindowRect(d.GetHwnd(), &before);
        RECT suggested{before.left + 8, before.top + 4, before.right * 2 - before.left, before.bottom * 2};
        const UINT dpi = GetWindowDpi(d.GetHwnd()) * 2;
        BITMAP newMap{};
        d.Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        ::GetWindowRect(d.GetHwnd(), &after);
        EXPECT_EQ(after.left, suggested.left);
        EXPECT_EQ(after.top, suggested.top);
        EXPECT_EQ(after.right, suggested.right);
        EXPECT_EQ(after.bottom, suggested.bottom);
        ::GetObjectA(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap(), sizeof newMap, &newMap);
        const RECT place = Window(d.GetItem(IDC_WORLD_MAP)).GetClientRect();
        // Fitted to its place (which Wine 8 leaves as it was), not clipped by it.
        EXPECT_LE(newMap.bmWidth, place.right);
        EXPECT_LE(newMap.bmHeight, place.bottom);
        EXPECT_GE(newMap.bmWidth, place.right * 4 / 5);
        HDC screen = ::GetDC(nullptr);
        TEXTMETRICA system{};
        ::SelectObject(screen, ::GetStockObject(SYSTEM_FONT));
        ::GetTextMetricsA(screen, &system);
        ::ReleaseDC(nullptr, screen);
        EXPECT_NEAR(FontHeight(Window(d.GetItem(IDC_DESTINATION_TIME))),
                    system.tmHeight * dpi / GetSystemDpi(), dpi / kDefaultDpi);
    });
}

TEST(DisplayScale, AboutsIconIsMadeForTheScale)
{
    CPAboutDlg about;
    ASSERT_TRUE(about.Create());
    const int size = ::MulDiv(32, int(GetWindowDpi(about.GetHwnd())), kDefaultDpi);
    ICONINFO icon{};
    ASSERT_TRUE(::GetIconInfo(HICON(Window(about.GetItem(IDC_ABOUT_ICON)).Send(STM_GETICON)), &icon));
    BITMAP colour{};
    ::GetObjectA(icon.hbmColor, sizeof colour, &colour);
    ::DeleteObject(icon.hbmColor);
    ::DeleteObject(icon.hbmMask);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
}

// Common Controls 6, which draw in the system's visual style.
TEST(DisplayScale, ControlsAreThemed)
{
    char library[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("comctl32.dll"), library, MAX_PATH);
    EXPECT_NE(std::string(library).find("common-controls_6595b64144ccf1df_6."), std::string::npos) << library;
}
