#include "app/pavix.h"

#include "platform/MessageBox.h"
#include "res/resource.h"
#include "ui/pavixDlg.h"

#include <ole2.h>

BOOL CPavixApp::InitInstance()
{
    if (FAILED(::OleInitialize(nullptr))) {
        ShowMessageBox(IDS_RUNTIME_INIT_FAILED);
        return FALSE;
    }
    SetDialogColors(RGB(0, 0, 0), RGB(255, 255, 0));

    CPavixDlg dialog;
    SetMainWnd(&dialog);
    dialog.DoModal();
    SetMainWnd(nullptr);
    ::OleUninitialize();
    return FALSE;
}
