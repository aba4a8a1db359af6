#include "ui/PReg.h"

#include "citydb/CityDatabase.h"
#include "platform/MessageBox.h"
#include "res/resource.h"

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

} // namespace

CPRegDlg::CPRegDlg(HWND parent) : Dialog(IDD_REGISTER_CITY, parent) {}

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
    const std::string name = m_cityNameEdit.GetText();
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

CPRegDlg::Outcome CPRegDlg::Register(const std::string& name, const std::string& displayName,
                                     const std::string& offset, bool& wasEmpty)
{
    switch (OpenCityDatabase(m_cityFile)) {
    case TextFile::openOk:
        break;
    case TextFile::openDenied:
        return Outcome::denied;
    default:
        return Outcome::missing;
    }
    // Held from the search to the end of the append, so that two copies of the program
    // neither interleave their lines nor both add the same record.
    Outcome outcome = Outcome::busy;
    if (m_cityFile.Lock(LOCK_TIMEOUT_MS)) {
        wasEmpty = m_cityFile.GetLength() == 0;
        if (FindCityRecord(m_cityFile, name, offset))
            outcome = Outcome::found;
        else if (AppendCityRecord(m_cityFile, displayName, offset))
            outcome = Outcome::added;
        else
            outcome = Outcome::writeFailed;
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
