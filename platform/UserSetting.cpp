#include "platform/UserSetting.h"

#include <windows.h>

namespace {
constexpr const char* kKey = "Software\\Pavix";
}

bool ReadUserSetting(const std::string& name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS read =
        ::RegGetValueA(HKEY_CURRENT_USER, kKey, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size);
    return read == ERROR_SUCCESS && value != 0;
}

bool WriteUserSetting(const std::string& name, bool on)
{
    const DWORD value = on ? 1 : 0;
    return ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name.c_str(), REG_DWORD, &value, sizeof value) ==
        ERROR_SUCCESS;
}
