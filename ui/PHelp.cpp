#include "ui/PHelp.h"

#include "res/resource.h"

#include <string>

const MessageMapEntry CPHelpDlg::messageEntries[] = {
    OnMessage<&CPHelpDlg::OnLButtonDown>(WM_LBUTTONDOWN),
};
IMPLEMENT_MESSAGE_MAP(CPHelpDlg, Dialog)

CPHelpDlg::CPHelpDlg(HWND parent) : Dialog(IDD_HELP_DIALOG, parent)
{
}

void CPHelpDlg::ShowHelp()
{
    static bool open = false;
    if (open)
        return;
    open = true;
    CPHelpDlg dialog;
    dialog.DoModal();
    open = false;
}

BOOL CPHelpDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    Window(GetItem(IDC_HELP_TEXT)).SetText(std::string(HelpText));
    return TRUE;
}

LRESULT CPHelpDlg::OnLButtonDown(WPARAM, LPARAM)
{
    OnOK();
    return Default();
}
