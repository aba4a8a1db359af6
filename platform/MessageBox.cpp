#include "platform/MessageBox.h"
#include "platform/App.h"
#include "platform/Dialog.h"

#include <windows.h>

namespace {
MessageBoxObserver& Observer()
{
    static MessageBoxObserver observer;
    return observer;
}

HWND Owner()
{
    if (HWND active = ::GetActiveWindow())
        return active;
    App* app = App::Current();
    return app && app->GetMainWnd() ? app->GetMainWnd()->GetHwnd() : nullptr;
}
}

void SetMessageBoxObserver(MessageBoxObserver observer)
{
    Observer() = std::move(observer);
}

void ShowMessageBox(const std::string& text, const std::string& caption)
{
    if (Observer()) {
        Observer()(text, caption);
        return;
    }
    ::MessageBoxA(Owner(), text.c_str(), caption.c_str(), MB_OK);
}

void ShowMessageBox(unsigned stringId)
{
    char text[512] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), stringId, text, sizeof text);
    App* app = App::Current();
    ShowMessageBox(text, app ? app->GetName() : std::string());
}
