#include "app/DlgProxy.h"

#include "platform/App.h"
#include "ui/pavixDlg.h"

namespace {

CPavixDlg* MainDialog()
{
    App* app = App::Current();
    auto* dialog = app ? dynamic_cast<CPavixDlg*>(app->GetMainWnd()) : nullptr;
    return dialog && dialog->GetHwnd() ? dialog : nullptr;
}

}   // namespace

HRESULT CPavixDlgAutoProxy::Create(IUnknown** object)
{
    *object = nullptr;
    CPavixDlg* dialog = MainDialog();
    if (!dialog)
        return CO_E_SERVER_STOPPING;
    if (dialog->m_pAutomationProxy)
        return CLASS_E_CLASSNOTAVAILABLE;
    *object = new CPavixDlgAutoProxy;
    return S_OK;
}

CPavixDlgAutoProxy::CPavixDlgAutoProxy() : Dispatch(iid)
{
    App::Current()->Lock();
    CPavixDlg* dialog = MainDialog();
    // Create lets no object be made without a main window; getting here without one is a bug.
    if (!dialog)
        ::FatalAppExitA(0, "DlgProxy: the application's main window is not a running CPavixDlg");
    m_pDialog = dialog;
    m_pDialog->m_pAutomationProxy = this;
}

CPavixDlgAutoProxy::~CPavixDlgAutoProxy()
{
    if (m_pDialog)
        m_pDialog->m_pAutomationProxy = nullptr;
    App::Current()->Unlock();
}
