#include "app/DlgProxy.h"
#include "app/pavix.h"
#include "platform/ObjectFactory.h"

#include <windows.h>

// Both in this one file, so that the factory is certainly built before the application object
// and destroyed after it.
ObjectFactory theProxyFactory(CPavixDlgAutoProxy::clsid, &CPavixDlgAutoProxy::Create, true,
                              CPavixDlgAutoProxy::progId);
CPavixApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return App::Current()->Run(instance, commandLine);
}
