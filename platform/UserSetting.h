#pragma once
#include <string>

// An on-or-off choice of the user's, kept under HKEY_CURRENT_USER\Software\Pavix as a DWORD.
// A value that is missing, unreadable or of another type reads as off.
bool ReadUserSetting(const std::string& name);
bool WriteUserSetting(const std::string& name, bool on);
