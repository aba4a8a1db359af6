#pragma once
#include <windows.h>

// Waits on the user-interface thread for up to the given time, delivering only timer and
// paint messages meanwhile: the clocks run on and the windows repaint, but no input and no
// other request is taken, so the user cannot start anything else.
void WaitDeliveringTicks(DWORD milliseconds);
