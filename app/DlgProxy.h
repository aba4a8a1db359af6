#pragma once
#include "platform/Dispatch.h"

#include <pavix_idl.h>

class CPavixDlg;

// The automation object "Pavix.Application". It stands for the main window and has no members:
// holding it keeps the program running, and a close request or Enter then only hides the
// window; releasing it ends a program that the component runtime started.
class CPavixDlgAutoProxy : public Dispatch {
public:
    // Both from res/pavix.idl; iid is the class's own dispatch interface, which the embedded
    // type library describes.
    static constexpr const CLSID& clsid = __uuidof(Application);
    static constexpr const IID& iid = __uuidof(IPavixApplication);
    static constexpr const char* progId = "Pavix.Application";

    // The class factory's creation: refused unless the main window runs with no object linked.
    static HRESULT Create(IUnknown** object);

    CPavixDlgAutoProxy();

    CPavixDlg* m_pDialog = nullptr;

protected:
    ~CPavixDlgAutoProxy() override;
};
