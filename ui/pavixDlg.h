#pragma once
#include "citydb/CityDatabase.h"
#include "clock/CityRules.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"
#include "platform/Scale.h"
#include "platform/Static.h"
#include "platform/TextFile.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class CPavixDlgAutoProxy;

// The main window: the world map, the two city lists and, above each, the selected city's
// line, date and time, refreshed by a 100 ms timer.
class CPavixDlg : public Dialog, private CityListSink, private CityDatabaseNotifier {
public:
    static constexpr UINT MAIN_TIMER_ID = 1;
    static constexpr UINT TRAY_ICON_ID = 1;
    // How long start-up waits for another program to let go of the city database.
    static constexpr unsigned OPEN_TIMEOUT_MS = 3000;
    static constexpr unsigned OPEN_RETRY_MS = 20;

    explicit CPavixDlg(HWND parent = nullptr);
    ~CPavixDlg() override;

    BOOL DestroyWindow() override;
    bool LoadCityDatabase();
    bool CanCloseWindow();
    void AddTrayIcon();
    void RemoveTrayIcon();
    // One clock tick: reads the clock and both selections, sets the texts that have changed.
    void Tick();

    CPavixDlgAutoProxy* m_pAutomationProxy = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    void OnMenuAbout();
    void OnMenuRegisterCity();
    void OnMenuHelp();
    void OnMenuMinimize();
    void OnMenuExit();
    void OnMenuDaylightSaving();

    // Opens the city database for loading; tests put a failing disk under it.
    virtual TextFile::OpenResult OpenCityDatabase(TextFile& file);

    DECLARE_MESSAGE_MAP()

private:
    void AddCityEntry(const std::string& entry) override;
    void FileEmpty() override;
    void FileMissing() override;
    void FileUnreadable() override;
    void ReadError() override;
    void FillCityLists();
    POINT KeyboardMenuPoint() const;
    void ShowCommandMenu(POINT point);
    void FitWorldMap();
    void SetTimeFonts(UINT dpi);
    // Each shipped city's offset at this instant in place of its fixed one, or not.
    void UseDaylightSaving(bool on);

    ListBox m_yourCityList;
    ListBox m_destinationList;
    // The six clock labels, found once, in the order a tick sets them.
    static constexpr size_t kYourCityTimeLabel = 0;
    static constexpr size_t kDestinationTimeLabel = 5;
    std::array<Static, 6> m_clockLabels;
    TextFile m_cityFile;
    std::vector<std::string> m_loadedEntries;
    bool m_bListsLoaded = false;
    // What the last tick read and showed: the selections and the six texts, in the order set.
    int m_nYourCityIndex = -1;
    int m_nDestinationIndex = -1;
    std::string m_strYourCityLine;
    std::string m_strDestinationLine;
    std::string m_strDestinationTime;
    bool m_bDaylightSaving = false;
    CityRules m_cityRules;   // read only once the command is on
    const TimeRule* m_pYourCityRule = nullptr;   // of the selected entries, when they have one
    const TimeRule* m_pDestinationRule = nullptr;
    std::array<std::optional<std::string>, 6> m_shownTexts;
    HICON m_hWindowIcon;
    GdiObject m_worldMap;
    GdiObject m_timeFont;
};
