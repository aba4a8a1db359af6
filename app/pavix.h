#pragma once
#include "platform/App.h"

// The application: brings up the component runtime, sets the dialog colours, settles the
// automation registration and runs the main window modally; never a message loop of its own.
class CPavixApp : public App {
public:
    BOOL InitInstance() override;

protected:
    // Offers the class factories to the runtime when it started the program, or else
    // rewrites their registry entries.
    void SettleAutomation();
    // The standard Help command: there is no help file, so the program's own Help dialog.
    void OnHelp();

    DECLARE_MESSAGE_MAP()
};
