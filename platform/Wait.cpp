#include "platform/Wait.h"

#include <algorithm>

void WaitDeliveringTicks(DWORD milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) ||
               ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_TIMER | QS_PAINT);
    }
}

bool RetryDeliveringTicks(DWORD milliseconds, DWORD retryMs, const std::function<bool()>& attempt)
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        if (attempt())
            return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline)
            return false;
        WaitDeliveringTicks(static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, retryMs)));
    }
}
