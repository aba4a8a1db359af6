#include "ui/PReg.h"

#include "citydb/CityDatabase.h"
#include "platform/MessageBox.h"
#include "platform/Wait.h"
#include "res/resource.h"

#include <algorithm>

namespace {

constexpr int HOURS_VALUE_COUNT = 25;   // 0.00 to 12.00 in half hours

std::string HoursValue(int halfHours)
{
    return std::to_string(halfHours / 2) + (halfHours % 2 ? ".50" : ".00");
}

// Upper case for A to Z only, so the stored name does not depend on the machine's locale.
std::string MakeDisplayName(std::string name)
{
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

std::string RecordText(const std::string& displayName, const std::string& offset)
{
    return "Record For City Of " + displayName + " [" + offset + "]";
}

void ShowError(const std::string& text)
{
    ShowMessageBox(text, "Error !!");
}

}   // namespace

CPRegDlg::CPRegDlg(HWND parent) : Dialog(IDD_REGISTER_CITY, parent)
{
}

void CPRegDlg::RegisterCities()
{
    // One dialog after another from here, not each opened inside the last one's Register:
    // nesting costs a window-procedure level and about 3 KB of stack per city, and Wine
    // refuses to create the 65th nested dialog.
    for (;;) {
        CPRegDlg dialog;
        if (dialog.DoModal() != IDOK)
            return;
    }
}

BOOL CPRegDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_hoursList = ListBox(GetItem(IDC_HOURS_LIST));
    m_aheadButton = Button(GetItem(IDC_AHEAD_RADIO));
    m_behindButton = Button(GetItem(IDC_BEHIND_RADIO));
    m_cityNameEdit = Edit(GetItem(IDC_CITY_NAME_EDIT));
    for (int halfHours = 0; halfHours < HOURS_VALUE_COUNT; ++halfHours)
        m_hoursList.AddString(HoursValue(halfHours));
    m_hoursList.SetCurSel(DEFAULT_HOURS_INDEX);
    m_aheadButton.SetCheck(true);
    m_cityNameEdit.SetText("Udaipur");
    // Their captions stand on the dialog's black, where the visual style's dark ink would vanish.
    for (int id : {IDC_GMT_GROUP, IDC_AHEAD_RADIO, IDC_BEHIND_RADIO})
        Window(GetItem(id)).SetClassicLook();
    return TRUE;   // focus to the name field, the first tab stop
}

std::string CPRegDlg::GetOffsetText() const
{
    const std::string hours = m_hoursList.GetText(m_hoursList.GetCurSel());
    return m_aheadButton.GetCheck() ? hours : "-" + hours;
}

void CPRegDlg::OnOK()
{
    Dialog::OnOK();
    // A record is one line: what another program put into the field after a line end is not
    // the name, as a paste into it would not be.
    std::string name = m_cityNameEdit.GetText();
    name.erase(std::min(name.find_first_of("\r\n"), name.size()));
    const std::string offset = GetOffsetText();
    const std::string displayName = MakeDisplayName(name);
    bool wasEmpty = false;
    const Outcome outcome = Register(name, displayName, offset, wasEmpty);
    // Only now, with the file closed, is the user told: another copy of the program must
    // never wait for someone to read a message box.
    if (wasEmpty)
        ShowError("Pavix Database Missing !!");
    Report(outcome, displayName, offset);
}

TextFile::OpenResult CPRegDlg::OpenCityDatabase(TextFile& file)
{
    return file.Open(kCityDatabaseName, TextFile::modeReadWrite);
}

bool CPRegDlg::OpenLocked(Outcome& failure)
{
    bool opened = false;
    // The clocks run on meanwhile; the dialog has ended, and only ticks and painting are handled.
    const bool settled = RetryDeliveringTicks(LOCK_TIMEOUT_MS, RETRY_MS, [&] {
        switch (OpenCityDatabase(m_cityFile)) {
        case TextFile::openOk:
            if (m_cityFile.TryLock() == TextFile::lockHeld) {
                m_cityFile.Close();
                return false;
            }
            opened = true;
            return true;
        case TextFile::openBusy:
            return false;
        case TextFile::openDenied:
            failure = Outcome::denied;
            return true;
        default:
            failure = Outcome::missing;
            return true;
        }
    });
    if (!settled)
        failure = Outcome::busy;
    return opened;
}

CPRegDlg::Outcome CPRegDlg::Register(const std::string& name, const std::string& displayName,
                                     const std::string& offset, bool& wasEmpty)
{
    // Held from the search to the end of the append, so that two copies of the program
    // neither interleave their lines nor both add the same record.
    Outcome outcome = Outcome::added;
    if (!OpenLocked(outcome))
        return outcome;
    wasEmpty = m_cityFile.GetLength() == 0;
    switch (FindCityRecord(m_cityFile, name, offset)) {
    case FindResult::found:
        outcome = Outcome::found;
        break;
    case FindResult::unreadable:
        outcome = Outcome::unreadable;   // the record may stand further on: append nothing
        break;
    case FindResult::absent:
        if (!AppendCityRecord(m_cityFile, displayName, offset))
            outcome = Outcome::writeFailed;
        break;
    }
    m_cityFile.Close();
    return outcome;
}

void CPRegDlg::Report(Outcome outcome, const std::string& displayName, const std::string& offset)
{
    switch (outcome) {
    case Outcome::missing:
        ShowError("Pavix Database Missing !!");
        break;
    case Outcome::denied:
        ShowError("Pavix Database Cannot Be Written !!");
        break;
    case Outcome::busy:
        ShowError("Pavix Database Is Busy, Try Again !!");
        break;
    case Outcome::unreadable:
        ShowError("Pavix Database Cannot Be Read !!");
        break;
    case Outcome::found:
        ShowMessageBox(RecordText(displayName, offset) + " Already Exists !!", "Found !!");
        break;
    case Outcome::added:
        ShowMessageBox(RecordText(displayName, offset) + " Added !!", "New City Added !!");
        break;
    case Outcome::writeFailed:
        ShowError(RecordText(displayName, offset) + " Could Not Be Written !!");
        break;
    }
}
