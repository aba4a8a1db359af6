#pragma once
#include "platform/Dialog.h"

// The About dialog: the program's icon, its version line and the credit lines.
// A left click anywhere closes it.
class CPAboutDlg : public Dialog {
public:
    explicit CPAboutDlg(HWND parent = nullptr);

protected:
    LRESULT OnLButtonDown(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};
