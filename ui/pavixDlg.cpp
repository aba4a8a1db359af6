#include "ui/pavixDlg.h"

#include "app/DlgProxy.h"
#include "clock/WorldClock.h"
#include "platform/App.h"
#include "platform/LocalClock.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"
#include "platform/NotifyIcon.h"
#include "platform/Resource.h"
#include "platform/SortKey.h"
#include "platform/UserSetting.h"
#include "platform/Wait.h"
#include "res/resource.h"
#include "ui/PAbout.h"
#include "ui/PHelp.h"
#include "ui/PReg.h"

#include <algorithm>
#include <shellapi.h>
#include <windowsx.h>

// Under HKEY_CURRENT_USER\Software\Pavix; off when missing.
static const char* const kDaylightSavingSetting = "DaylightSaving";

const MessageMapEntry CPavixDlg::messageEntries[] = {
    OnMessage<&CPavixDlg::OnCreate>(WM_CREATE),
    OnMessage<&CPavixDlg::OnTimer>(WM_TIMER),
    OnMessage<&CPavixDlg::OnPaint>(WM_PAINT),
    OnMessage<&CPavixDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    OnMessage<&CPavixDlg::OnLButtonDown>(WM_LBUTTONDOWN),
    OnMessage<&CPavixDlg::OnContextMenu>(WM_CONTEXTMENU),
    OnMessage<&CPavixDlg::OnClose>(WM_CLOSE),
    OnMessage<&CPavixDlg::OnDpiChanged>(WM_DPICHANGED),
    OnCommand<&CPavixDlg::OnMenuAbout>(ID_MENU_ABOUT),
    OnCommand<&CPavixDlg::OnMenuRegisterCity>(ID_MENU_REGISTER_CITY),
    OnCommand<&CPavixDlg::OnMenuHelp>(ID_MENU_HELP),
    OnCommand<&CPavixDlg::OnMenuMinimize>(ID_MENU_MINIMIZE),
    OnCommand<&CPavixDlg::OnMenuExit>(ID_MENU_EXIT),
    OnCommand<&CPavixDlg::OnMenuDaylightSaving>(ID_MENU_DAYLIGHT_SAVING),
};
IMPLEMENT_MESSAGE_MAP(CPavixDlg, Dialog)

CPavixDlg::CPavixDlg(HWND parent)
    : Dialog(IDD_MAIN_DIALOG, parent),
      m_hWindowIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM_ICON)))
{
}

CPavixDlg::~CPavixDlg()
{
    // The automation object may outlive this window; it must not point at it any more.
    if (m_pAutomationProxy)
        m_pAutomationProxy->m_pDialog = nullptr;
}

LRESULT CPavixDlg::OnCreate(WPARAM, LPARAM)
{
    Default();
    SetTimer(MAIN_TIMER_ID, 100);
    return 0;
}

BOOL CPavixDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    const int labelIds[] = {IDC_YOUR_CITY_TIME,   IDC_YOUR_CITY_DATE,   IDC_YOUR_CITY_NAME,
                            IDC_DESTINATION_NAME, IDC_DESTINATION_DATE, IDC_DESTINATION_TIME};
    for (size_t i = 0; i < m_clockLabels.size(); ++i)
        m_clockLabels[i] = Static(GetItem(labelIds[i]));
    SetIcon(m_hWindowIcon, true);
    SetIcon(m_hWindowIcon, false);
    UseDaylightSaving(ReadUserSetting(kDaylightSavingSetting));
    FitWorldMap();
    m_yourCityList = ListBox(GetItem(IDC_YOUR_CITY_LIST));
    m_destinationList = ListBox(GetItem(IDC_DESTINATION_LIST));
    if (!LoadCityDatabase())
        return FALSE;
    m_yourCityList.SetCurSel(0);
    m_destinationList.SetCurSel(0);
    m_bListsLoaded = true;
    SetTimeFonts(GetWindowDpi(m_hWnd));
    return TRUE;
}

// The map fills its place at every display scale, shrunk from the next larger drawing.
void CPavixDlg::FitWorldMap()
{
    FitPicture(GetItem(IDC_WORLD_MAP), {IDB_WORLD_MAP, IDB_WORLD_MAP_2X, IDB_WORLD_MAP_3X}, m_worldMap);
}

// The time labels show in the system font. The stock one is made for the system's DPI alone
// (and Wine's keeps its 100 % width at any other, squeezing the digits), so at any other scale
// they get one of the same look made for it.
void CPavixDlg::SetTimeFonts(UINT dpi)
{
    bool stock = dpi == kDefaultDpi && GetSystemDpi() == kDefaultDpi;
    HFONT font = stock ? nullptr : CreateSystemLookFont(dpi);
    m_clockLabels[kYourCityTimeLabel].SetFont(font, true);
    m_clockLabels[kDestinationTimeLabel].SetFont(font, true);
    m_timeFont.Reset(font);
}

// Moved to a monitor of another scale: the dialog manager lays the controls out anew and hands
// them the rescaled font; then the system's rectangle, and the pictures and fonts made for it.
LRESULT CPavixDlg::OnDpiChanged(WPARAM w, LPARAM l)
{
    Default();
    const RECT& suggested = *reinterpret_cast<const RECT*>(l);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitWorldMap();
    // Only once loading gave them the system font's look; otherwise they keep the dialog's.
    if (m_bListsLoaded)
        SetTimeFonts(HIWORD(w));
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

bool CPavixDlg::LoadCityDatabase()
{
    // Entries are gathered once and then put into both lists in list order; the destination
    // list gets the very same entries.
    struct : CityListSink {
        void AddCityEntry(const std::string&) override {}
    } sameEntries;
    // Another program, a backup say, may hold the file for a moment.
    TextFile::OpenResult opened = TextFile::openBusy;
    RetryDeliveringTicks(OPEN_TIMEOUT_MS, OPEN_RETRY_MS, [&] {
        opened = OpenCityDatabase(m_cityFile);
        return opened != TextFile::openBusy;
    });
    switch (opened) {
    case TextFile::openOk:
        break;
    case TextFile::openMissing:
        FileMissing();
        return false;
    case TextFile::openBusy:
        ShowMessageBox("City Database wtcmain.pvx Is Busy, Try Again !!", "Read Record..");
        return false;
    default:
        FileUnreadable();
        return false;
    }
    m_loadedEntries.clear();
    bool loaded = ReadCityDatabase(m_cityFile, *this, sameEntries, *this);
    if (loaded)
        FillCityLists();
    m_loadedEntries = {};
    return loaded;
}

TextFile::OpenResult CPavixDlg::OpenCityDatabase(TextFile& file)
{
    return file.Open(kCityDatabaseName, TextFile::modeRead);
}

void CPavixDlg::AddCityEntry(const std::string& entry)
{
    m_loadedEntries.push_back(entry);
}

void CPavixDlg::FillCityLists()
{
    // The lists sort by the system's case-blind comparison. Ordering the entries once by its
    // sort keys and inserting them at the end spares every entry the list's own search.
    std::vector<std::pair<std::string, size_t>> order;
    order.reserve(m_loadedEntries.size());
    size_t bytes = 0;
    for (size_t i = 0; i < m_loadedEntries.size(); ++i) {
        order.emplace_back(CaseBlindSortKey(m_loadedEntries[i]), i);
        bytes += m_loadedEntries[i].size() + 1;
    }
    // Among entries that compare equal, the list puts a later one before an earlier one.
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    for (const ListBox* list : {&m_yourCityList, &m_destinationList}) {
        list->SetRedraw(false);
        list->InitStorage(int(order.size()), bytes);
        for (const auto& entry : order)
            list->InsertString(-1, m_loadedEntries[entry.second]);
        list->SetRedraw(true);
    }
}

void CPavixDlg::FileEmpty()
{
    ShowMessageBox("File Empty..", "Read Record..");
}

void CPavixDlg::FileMissing()
{
    ShowMessageBox("City Database wtcmain.pvx Not Found !!", "Read Record..");
}

void CPavixDlg::FileUnreadable()
{
    ShowMessageBox("City Database wtcmain.pvx Could Not Be Read !!", "Read Record..");
}

void CPavixDlg::ReadError()
{
    ShowMessageBox("City Database wtcmain.pvx Could Not Be Read Completely !!", "Read Record..");
}

// The selected entry of list; none when the list has no selection. The index is asked for on every
// tick, since a selection set with LB_SETCURSEL sends no LBN_SELCHANGE; the entry's text, and its
// rule, are read again only when the index has moved, as the lists do not change once filled.
static std::optional<std::string_view> ReadSelection(const ListBox& list, int& index, std::string& line,
                                                     const CityRules& rules, const TimeRule*& rule)
{
    int selected = list.GetCurSel();
    if (selected != index) {
        line = selected < 0 ? std::string() : list.GetText(selected);
        rule = rules.Match(line);
    }
    index = selected;
    return index < 0 ? std::nullopt : std::optional<std::string_view>(line);
}

void CPavixDlg::Tick()
{
    int64_t utcSeconds = 0;
    LocalReading now = ReadLocalClock(utcSeconds);
    auto yourCity =
        ReadSelection(m_yourCityList, m_nYourCityIndex, m_strYourCityLine, m_cityRules, m_pYourCityRule);
    auto destination = ReadSelection(m_destinationList, m_nDestinationIndex, m_strDestinationLine,
                                     m_cityRules, m_pDestinationRule);
    ClockTexts texts = m_bDaylightSaving && yourCity && destination
        ? BuildClockTexts(now, yourCity, destination,
                          int64_t(OffsetMinutesAt(m_pYourCityRule, *yourCity, utcSeconds)) -
                              OffsetMinutesAt(m_pDestinationRule, *destination, utcSeconds))
        : BuildClockTexts(now, yourCity, destination);
    m_strDestinationTime = texts.destinationTime;
    const std::string* shown[] = {&texts.yourCityTime,    &texts.yourCityDate,    &texts.yourCityName,
                                  &texts.destinationName, &texts.destinationDate, &m_strDestinationTime};
    // Each set repaints its label: only a text that has changed is set.
    for (size_t i = 0; i < m_clockLabels.size(); ++i) {
        if (m_shownTexts[i] != *shown[i]) {
            m_shownTexts[i] = *shown[i];
            m_clockLabels[i].SetText(*shown[i]);
        }
    }
}

LRESULT CPavixDlg::OnTimer(WPARAM, LPARAM)
{
    Tick();
    return 0;
}

LRESULT CPavixDlg::OnPaint(WPARAM, LPARAM)
{
    if (!IsIconic())
        return Default();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    int cx = ::GetSystemMetrics(SM_CXICON);
    int cy = ::GetSystemMetrics(SM_CYICON);
    RECT client = GetClientRect();
    int x = (client.right - client.left - cx + 1) / 2;
    int y = (client.bottom - client.top - cy + 1) / 2;
    ::DrawIcon(dc, x, y, m_hWindowIcon);
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CPavixDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hWindowIcon);
}

LRESULT CPavixDlg::OnLButtonDown(WPARAM, LPARAM l)
{
    Default();
    // The window has no caption: a press on any free spot drags it as a caption would.
    Post(WM_NCLBUTTONDOWN, HTCAPTION, l);
    return 0;
}

LRESULT CPavixDlg::OnContextMenu(WPARAM, LPARAM l)
{
    // Shift+F10 and the menu key send no point: the menu opens where the keyboard is.
    if (GET_X_LPARAM(l) == -1 && GET_Y_LPARAM(l) == -1) {
        ShowCommandMenu(KeyboardMenuPoint());
        return 0;
    }
    POINT point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    RECT client = GetClientRectOnScreen();
    if (!::PtInRect(&client, point))
        return Default();
    ShowCommandMenu(point);
    return 0;
}

// Under the selected entry of the focused list, where that entry is in view; else the centre of
// the window.
POINT CPavixDlg::KeyboardMenuPoint() const
{
    RECT client = GetClientRectOnScreen();
    POINT point{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    for (const ListBox* list : {&m_yourCityList, &m_destinationList}) {
        RECT entry, view = list->GetClientRect(), shown;
        if (::GetFocus() == list->GetHwnd() && list->GetItemRect(list->GetCurSel(), entry) &&
            ::IntersectRect(&shown, &entry, &view)) {
            point = {(entry.left + entry.right) / 2, entry.bottom};
            ::ClientToScreen(list->GetHwnd(), &point);
        }
    }
    return point;
}

void CPavixDlg::ShowCommandMenu(POINT point)
{
    Menu menu;
    menu.CreatePopup();
    menu.AppendString(ID_MENU_ABOUT, "About..");
    menu.AppendSeparator(ID_MENU_SEPARATOR_1);
    menu.AppendString(ID_MENU_REGISTER_CITY, "Register City..");
    menu.AppendString(ID_MENU_HELP, "Help !!");
    menu.AppendString(ID_MENU_DAYLIGHT_SAVING, "Daylight Saving Time", m_bDaylightSaving);
    menu.AppendSeparator(ID_MENU_SEPARATOR_2);
    menu.AppendString(ID_MENU_MINIMIZE, "Minimize..");
    menu.AppendString(ID_MENU_EXIT, "Exit");
    menu.Track(TPM_CENTERALIGN | TPM_RIGHTBUTTON, point.x, point.y, m_hWnd);
    menu.Destroy();
}

bool CPavixDlg::CanCloseWindow()
{
    if (m_pAutomationProxy) {
        Show(SW_HIDE);
        return false;
    }
    return true;
}

LRESULT CPavixDlg::OnClose(WPARAM, LPARAM)
{
    return CanCloseWindow() ? Default() : 0;
}

void CPavixDlg::OnOK()
{
    if (CanCloseWindow())
        Dialog::OnOK();
}

void CPavixDlg::OnCancel()
{
}

void CPavixDlg::OnMenuAbout()
{
    CPAboutDlg dialog;
    dialog.DoModal();
}

void CPavixDlg::OnMenuRegisterCity()
{
    CPRegDlg::RegisterCities();
}

void CPavixDlg::OnMenuHelp()
{
    CPHelpDlg::ShowHelp();
}

void CPavixDlg::OnMenuMinimize()
{
    Show(SW_MINIMIZE);
    AddTrayIcon();
}

void CPavixDlg::OnMenuExit()
{
    DestroyWindow();
}

void CPavixDlg::OnMenuDaylightSaving()
{
    UseDaylightSaving(!m_bDaylightSaving);
    WriteUserSetting(kDaylightSavingSetting, m_bDaylightSaving);
    Tick();
}

void CPavixDlg::UseDaylightSaving(bool on)
{
    m_bDaylightSaving = on;
    // Off, no entry has a rule; on, the rules built into the program are read once, and bad ones
    // leave every entry its fixed offset.
    if (on && !m_cityRules.Size())
        m_cityRules = CityRules::Parse(LoadRawResource(IDR_CITY_RULES));
    m_pYourCityRule = on ? m_cityRules.Match(m_strYourCityLine) : nullptr;
    m_pDestinationRule = on ? m_cityRules.Match(m_strDestinationLine) : nullptr;
}

void CPavixDlg::AddTrayIcon()
{
    NotifyIcon(NIM_ADD, m_hWnd, TRAY_ICON_ID, NIF_ICON | NIF_TIP, ::LoadIconA(nullptr, IDI_APPLICATION),
               "Merin Export v1.0");
}

void CPavixDlg::RemoveTrayIcon()
{
    NotifyIcon(NIM_DELETE, m_hWnd, TRAY_ICON_ID, NIF_ICON | NIF_TIP, ::LoadIconA(nullptr, IDI_APPLICATION),
               "Merin Export v1.0");
}

BOOL CPavixDlg::DestroyWindow()
{
    RemoveTrayIcon();
    return Dialog::DestroyWindow();
}
