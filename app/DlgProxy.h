#pragma once
#include "platform/Dispatch.h"

class CPavixDlg;

// The automation object "Pavix.Application". It stands for the main window and has no members:
// holding it keeps the program running, and a close request or Enter then only hides the
// window; releasing it ends a program that the component runtime started.
class CPavixDlgAutoProxy : public Dispatch {
public:
    static constexpr CLSID clsid = {0x5c1c47a9, 0xe8d6, 0x4a08, {0xa5, 0x50, 0x76, 0x18, 0x50, 0x6d, 0xbb, 0xc0}};
    // The class's own dispatch interface, described by the embedded type library.
    static constexpr IID iid = {0x8a055c28, 0xd76b, 0x4dd3, {0xa8, 0x4d, 0x3b, 0x95, 0x61, 0x52, 0xef, 0xf0}};
    static constexpr const char* progId = "Pavix.Application";

    // The class factory's creation: refused unless the main window runs with no object linked.
    static HRESULT Create(IUnknown** object);

    CPavixDlgAutoProxy();

    CPavixDlg* m_pDialog = nullptr;

protected:
    ~CPavixDlgAutoProxy() override;
};
