#include "app/pavix.h"

#include <windows.h>

CPavixApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return App::Current()->Run(instance, commandLine);
}
