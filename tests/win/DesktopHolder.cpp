// Keeps Wine's desktop open for a whole test run. Wine closes a desktop a moment after its last
// window goes; the next test's program then starts the desktop again, and that desktop process
// inherits the test's output, so ctest waits for it to close after every test (a second each).
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}
