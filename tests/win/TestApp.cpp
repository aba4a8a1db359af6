#include "app/pavix.h"

namespace {

// The process's one application object, with the program's command table. The tests drive
// dialogs themselves, so start-up does nothing; the dialog colours are the ones the program
// sets before its first dialog.
struct TestApp : CPavixApp {
    TestApp() { SetDialogColors(RGB(0, 0, 0), RGB(255, 255, 0)); }
    BOOL InitInstance() override { return FALSE; }
};

TestApp theTestApp;

} // namespace
