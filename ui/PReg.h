#pragma once
#include "platform/Button.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/ListBox.h"
#include "platform/TextFile.h"

#include <string>

// The Register City dialog: a city's name, ahead of or behind GMT, and the hours from a list.
// Register adds the record to the city database unless it is there already, tells the user
// which of the two happened, and ends the dialog with IDOK; Exit ends it with IDCANCEL.
class CPRegDlg : public Dialog {
public:
    static constexpr int DEFAULT_HOURS_INDEX = 11;   // "5.50"
    // How long Register waits for another program to let go of the database, and how often
    // it tries again meanwhile.
    static constexpr unsigned LOCK_TIMEOUT_MS = 3000;
    static constexpr unsigned RETRY_MS = 20;

    explicit CPRegDlg(HWND parent = nullptr);

    // Opens a fresh dialog after every Register until the user presses Exit.
    static void RegisterCities();

protected:
    BOOL OnInitDialog() override;
    // The Register button.
    void OnOK() override;
    // Opens the city database for one Register action; tests put a failing disk under it.
    virtual TextFile::OpenResult OpenCityDatabase(TextFile& file);

private:
    enum class Outcome { missing, denied, busy, unreadable, found, added, writeFailed };

    std::string GetOffsetText() const;
    // Opens and locks the database, trying again while another program holds either; false,
    // with the reason, if it could not. A file system without byte-range locks goes on
    // without the lock: the append is still one write.
    bool OpenLocked(Outcome& failure);
    // Searches the database and appends the record when it is new; the file is closed again
    // before this returns. wasEmpty tells whether the file held no byte beforehand.
    Outcome Register(const std::string& name, const std::string& displayName, const std::string& offset,
                     bool& wasEmpty);
    static void Report(Outcome outcome, const std::string& displayName, const std::string& offset);

    ListBox m_hoursList;
    Button m_aheadButton;
    Button m_behindButton;
    Edit m_cityNameEdit;
    TextFile m_cityFile;
};
