#pragma once
#include <windows.h>
#include <string>

// Shell_NotifyIconA with the first, 88-byte (32-bit) form of its record.
bool NotifyIcon(DWORD message, HWND owner, UINT id, UINT flags, HICON icon, const std::string& tip);
