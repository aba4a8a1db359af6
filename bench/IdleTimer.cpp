// The floor for the clock's idle cost: a window with a 10 Hz timer that does nothing on a tick.
// tools/bench --wine measures it beside pavix.exe under the same Wine.
#include <windows.h>

static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return message == WM_TIMER ? 0 : ::DefWindowProcA(window, message, w, l);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "IdleTimer";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("IdleTimer", "Idle timer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, instance, nullptr);
    ::SetTimer(window, 1, 100, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    return 0;
}
