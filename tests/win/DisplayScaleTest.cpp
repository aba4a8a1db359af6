// At the display scale of this run: the pictures, the time labels and a move to another scale.
#include "InProcess.h"

#include "platform/Scale.h"
#include "ui/PAbout.h"

const std::string kScaleCities = "Tokyo\t9.00\r\nUdaipur\t5.50\r\n";

// Rows of 24-bit pixels, and the bitmap's size.
std::pair<SIZE, std::vector<BYTE>> Pixels(HBITMAP bitmap)
{
    BITMAP b{};
    ::GetObjectA(bitmap, sizeof b, &b);
    BITMAPINFO info{{sizeof info.bmiHeader, b.bmWidth, -b.bmHeight, 1, 24, BI_RGB}};
    std::vector<BYTE> bits(size_t((b.bmWidth * 3 + 3) / 4 * 4 * b.bmHeight));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, UINT(b.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return {SIZE{b.bmWidth, b.bmHeight}, bits};
}

// The picture's bitmap fills its control on one side and fits on the other.
void ExpectFills(HWND picture)
{
    RECT place;
    ::GetClientRect(picture, &place);
    SIZE size = Pixels(Static(picture).GetBitmap()).first;
    EXPECT_TRUE((size.cx == place.right && size.cy <= place.bottom) ||
                (size.cy == place.bottom && size.cx <= place.right))
        << size.cx << "x" << size.cy << " in " << place.right << "x" << place.bottom;
}

int TextHeight(HFONT font)
{
    HDC screen = ::GetDC(nullptr);
    TEXTMETRICA metrics{};
    ::SelectObject(screen, font), ::GetTextMetricsA(screen, &metrics), ::ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

TEST(DisplayScale, PicturesAreShrunkFromTheSmallestDrawingAtLeastAsLarge)
{
    struct Row {
        SIZE place, fit;
        int drawing;   // that the result equals pixel for pixel, or none
    };
    for (const Row& row : std::vector<Row>{{{200, 120}, {200, 120}, IDB_WORLD_MAP},
                                           {{400, 300}, {400, 240}, IDB_WORLD_MAP_2X},
                                           {{900, 360}, {600, 360}, IDB_WORLD_MAP_3X},
                                           {{233, 130}, {217, 130}, 0}}) {
        SCOPED_TRACE(row.place.cx);
        HBITMAP fitted = FitBitmap({IDB_WORLD_MAP, IDB_WORLD_MAP_2X, IDB_WORLD_MAP_3X}, row.place);
        auto [size, pixels] = Pixels(fitted);
        EXPECT_EQ(std::pair(size.cx, size.cy), std::pair(row.fit.cx, row.fit.cy));
        HANDLE drawing = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(row.drawing),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        EXPECT_TRUE(!row.drawing || Pixels(HBITMAP(drawing)).second == pixels);
        ::DeleteObject(fitted), ::DeleteObject(drawing);
    }
}

// Under this Wine at 100 %, the map is 200 x 120 pixels of a client area of 306 x 369.
TEST(DisplayScale, TheMapKeepsItsShareOfTheWindowAndTheTimesTheSystemFontsLook)
{
    RunApp(kScaleCities, [](CPavixDlg& d) {
        const char* asked = std::getenv("PAVIX_DPI");   // set where the run is at another scale
        EXPECT_EQ(GetSystemDpi(), asked ? UINT(std::atoi(asked)) : kDefaultDpi);
        UINT dpi = GetWindowDpi(d.GetHwnd());
        EXPECT_EQ(dpi, GetSystemDpi());   // aware of the scale, so the window's is the real one
        ExpectFills(d.GetItem(IDC_WORLD_MAP));
        RECT client = d.GetClientRect();
        SIZE map = Pixels(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap()).first;
        EXPECT_NEAR(map.cx * 306.0 / 200 / client.right, 1, 0.05);
        EXPECT_NEAR(map.cy * 369.0 / 120 / client.bottom, 1, 0.05);
        HFONT time = Window(d.GetItem(IDC_YOUR_CITY_TIME)).GetFont();
        EXPECT_EQ(time == nullptr, dpi == kDefaultDpi);
        EXPECT_NEAR(TextHeight(time ? time : HFONT(::GetStockObject(SYSTEM_FONT))), 16.0 * dpi / 96, 1);
    });
}

// Ink cut off by a label, in pixels: below the text, or, where centred, half of that at each edge.
TEST(DisplayScale, TimesAndDatesFitTheirLabels)
{
    RunApp(kScaleCities, [](CPavixDlg& d) {
        d.Tick();
        struct Row {
            int id;
            bool centred;
        };
        for (Row row : {Row{IDC_YOUR_CITY_TIME, true},
                        {IDC_DESTINATION_TIME, true},
                        {IDC_YOUR_CITY_DATE, false},
                        {IDC_DESTINATION_DATE, false}}) {
            SCOPED_TRACE(row.id);
            Window label(d.GetItem(row.id));
            HDC dc = ::GetDC(label.GetHwnd());
            HFONT font = label.GetFont();
            ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
            TEXTMETRICA metrics{};
            SIZE text{};
            ::GetTextMetricsA(dc, &metrics);
            ::GetTextExtentPoint32A(dc, label.GetText().c_str(), int(label.GetText().size()), &text);
            ::ReleaseDC(label.GetHwnd(), dc);
            RECT place = label.GetClientRect();
            EXPECT_LE(text.cx, place.right);
            int cut = std::max(0L, metrics.tmHeight - place.bottom);
            EXPECT_LE(row.centred ? (cut + 1) / 2 : cut,
                      std::min(metrics.tmInternalLeading, metrics.tmDescent));
        }
    });
}

TEST(DisplayScale, OnAnotherScaleTheWindowTakesTheSuggestedRectangleAndNewFontAndMap)
{
    RunApp(kScaleCities, [](CPavixDlg& d) {
        RECT before, after;
        ::GetWindowRect(d.GetHwnd(), &before);
        RECT suggested{before.left + 8, before.top + 4, before.right * 2 - before.left, before.bottom * 2};
        UINT dpi = GetWindowDpi(d.GetHwnd()) * 2;
        HBITMAP oldMap = Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap();
        d.Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        ::GetWindowRect(d.GetHwnd(), &after);
        EXPECT_TRUE(::EqualRect(&after, &suggested));
        EXPECT_NEAR(TextHeight(Window(d.GetItem(IDC_DESTINATION_TIME)).GetFont()), 16.0 * dpi / 96, 1);
        EXPECT_NE(Static(d.GetItem(IDC_WORLD_MAP)).GetBitmap(), oldMap);
        ExpectFills(d.GetItem(IDC_WORLD_MAP));
    });
}

// The manifest brings Common Controls 6, which draw in the system's visual style; About shows
// its icon and rule for the scale.
TEST(DisplayScale, ControlsAreThemedAndAboutDrawnForTheScale)
{
    RunApp(kScaleCities, [](CPavixDlg& d) {
        char library[MAX_PATH] = {};
        ::GetModuleFileNameA(::GetModuleHandleA("comctl32.dll"), library, MAX_PATH);
        EXPECT_NE(std::string(library).find("common-controls_6595b64144ccf1df_6."), std::string::npos)
            << library;
        CPAboutDlg about;
        ASSERT_TRUE(about.Create());
        ICONINFO icon{};
        ::GetIconInfo(HICON(Window(about.GetItem(IDC_ABOUT_ICON)).Send(STM_GETICON)), &icon);
        EXPECT_EQ(Pixels(icon.hbmColor).first.cx, ::MulDiv(32, int(GetWindowDpi(d.GetHwnd())), 96));
        ::DeleteObject(icon.hbmColor), ::DeleteObject(icon.hbmMask);
        ExpectFills(about.GetItem(IDC_ABOUT_RULE));
    });
}
