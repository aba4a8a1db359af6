#include "ui/PAbout.h"

#include "platform/Static.h"
#include "res/resource.h"

const MessageMapEntry CPAboutDlg::messageEntries[] = {
    OnMessage<&CPAboutDlg::OnLButtonDown>(WM_LBUTTONDOWN),
};
IMPLEMENT_MESSAGE_MAP(CPAboutDlg, Dialog)

CPAboutDlg::CPAboutDlg(HWND parent) : Dialog(IDD_ABOUT_DIALOG, parent)
{
}

CPAboutDlg::~CPAboutDlg()
{
    DestroyWindow();
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

// The icon and the rule drawn for the display scale; the template's own are for 100 %.
BOOL CPAboutDlg::OnInitDialog()
{
    int size = ::MulDiv(32, int(GetWindowDpi(m_hWnd)), kDefaultDpi);
    m_hIcon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM_ICON),
                                              IMAGE_ICON, size, size, 0));
    if (m_hIcon)
        Static(GetItem(IDC_ABOUT_ICON)).SetPictureIcon(m_hIcon);
    FitPicture(GetItem(IDC_ABOUT_RULE), {IDB_ABOUT_RULE, IDB_ABOUT_RULE_2X, IDB_ABOUT_RULE_3X}, m_rule);
    return Dialog::OnInitDialog();
}

LRESULT CPAboutDlg::OnLButtonDown(WPARAM, LPARAM)
{
    OnOK();
    return Default();
}
