#include "platform/NotifyIcon.h"

#include <shellapi.h>
#include <cstring>

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the first form of the notification record");
#endif

bool NotifyIcon(DWORD message, HWND owner, UINT id, UINT flags, HICON icon, const std::string& tip)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = flags;
    data.hIcon = icon;
    // The first form's tip holds 64 characters with the terminator.
    std::strncpy(data.szTip, tip.c_str(), 63);
    return ::Shell_NotifyIconA(message, &data) != FALSE;
}
