#include "ui/PAbout.h"

#include "res/resource.h"

const MessageMapEntry CPAboutDlg::messageEntries[] = {
    OnMessage<&CPAboutDlg::OnLButtonDown>(WM_LBUTTONDOWN),
};
IMPLEMENT_MESSAGE_MAP(CPAboutDlg, Dialog)

CPAboutDlg::CPAboutDlg(HWND parent) : Dialog(IDD_ABOUT_DIALOG, parent)
{
}

LRESULT CPAboutDlg::OnLButtonDown(WPARAM, LPARAM)
{
    OnOK();
    return Default();
}
