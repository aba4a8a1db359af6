#include "app/pavix.h"

#include "platform/MessageBox.h"
#include "platform/ObjectFactory.h"
#include "res/resource.h"
#include "ui/PHelp.h"
#include "ui/pavixDlg.h"

#include <commctrl.h>
#include <ole2.h>

const MessageMapEntry CPavixApp::messageEntries[] = {
    OnCommand<&CPavixApp::OnHelp>(ID_HELP),
};
IMPLEMENT_MESSAGE_MAP(CPavixApp, App)

BOOL CPavixApp::InitInstance()
{
    // With the manifest's Common Controls 6: the controls in the system's visual style.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (FAILED(::OleInitialize(nullptr))) {
        ShowMessageBox(IDS_RUNTIME_INIT_FAILED);
        return FALSE;
    }
    SetDialogColors(RGB(0, 0, 0), RGB(255, 255, 0));
    SettleAutomation();

    CPavixDlg dialog;
    SetMainWnd(&dialog);
    dialog.DoModal();
    SetMainWnd(nullptr);
    ObjectFactory::RevokeAll();
    ::OleUninitialize();
    return FALSE;
}

void CPavixApp::SettleAutomation()
{
    // The runtime's start serves clients and leaves the registry alone; a user's start
    // refreshes the entries, so that they follow the executable wherever it was moved.
    if (IsEmbedded() || IsAutomated())
        ObjectFactory::RegisterAll();
    else
        ObjectFactory::UpdateRegistryAll();
}

void CPavixApp::OnHelp()
{
    CPHelpDlg::ShowHelp();
}
