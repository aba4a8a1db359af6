#pragma once
#include "platform/Dialog.h"

#include <string_view>

// How to compare two cities and how to register one: 13 lines, 659 characters.
inline constexpr std::string_view HelpText =
    "To Check Time Difference Between Two Cities \n"
    "---------------------------------------------------------------------------\n"
    " 1. Select Your City From The First List \n"
    " 2. Select The Destination City From The Second List \n"
    " 3. See The Current Time Above Each List \n"
    "\n"
    " To Register Your City In The City Database \n"
    "----------------------------------------------------------------------\n"
    " 1. Select Register City.. From The Menu \n"
    " 2. Enter The Name Of Your City \n"
    " 3. Select Ahead Or Before If Your City Is Ahead Of GMT Or Before \n"
    " 4. Choose The Time Difference From The Hours List \n"
    " 5. If Your City Is Not Listed In The Current Database Then It Will Be Added Instantly !!";

// The Help dialog: the fixed help text; a left click anywhere closes it.
class CPHelpDlg : public Dialog {
public:
    explicit CPHelpDlg(HWND parent = nullptr);

    // Runs Help modally over the main window, unless it is open already (F1 inside it).
    static void ShowHelp();

protected:
    BOOL OnInitDialog() override;
    LRESULT OnLButtonDown(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};
