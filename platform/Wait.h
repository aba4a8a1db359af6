#pragma once
#include <windows.h>

#include <functional>

// Waits on the user-interface thread for up to the given time, delivering only timer and
// paint messages meanwhile: the clocks run on and the windows repaint, but no input and no
// other request is taken, so the user cannot start anything else.
void WaitDeliveringTicks(DWORD milliseconds);

// Runs attempt until it says it is done, again every retryMs for up to milliseconds, waiting
// as above in between; whether it was done.
bool RetryDeliveringTicks(DWORD milliseconds, DWORD retryMs, const std::function<bool()>& attempt);
