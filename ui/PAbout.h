#pragma once
#include "platform/Dialog.h"
#include "platform/Scale.h"

// The About dialog: the program's icon, its version line and the credit lines.
// A left click anywhere closes it.
class CPAboutDlg : public Dialog {
public:
    explicit CPAboutDlg(HWND parent = nullptr);
    ~CPAboutDlg() override;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnLButtonDown(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    GdiObject m_rule;
    HICON m_hIcon = nullptr;
};
