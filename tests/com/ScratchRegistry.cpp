#include "ScratchRegistry.h"

namespace com {
namespace {

const HKEY predefinedHives[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

void DumpInto(HKEY key, const std::string& path, std::vector<std::string>& lines)
{
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        DWORD dataLength = sizeof data - 1;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        data[dataLength] = 0;
        std::string text = type == REG_SZ ? reinterpret_cast<char*>(data) : "<type " + std::to_string(type) + ">";
        lines.push_back(path + "|" + name + "=" + text);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        lines.push_back(path + (path.empty() ? "" : "\\") + name);
        HKEY sub = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
            DumpInto(sub, path + (path.empty() ? "" : "\\") + name, lines);
            RegCloseKey(sub);
        }
    }
}

}  // namespace

ScratchRegistry::ScratchRegistry() : m_name("Software\\PavixScratch-" + std::to_string(GetCurrentProcessId()))
{
    m_ready = true;
    for (HKEY hive : predefinedHives) {
        std::string key = m_name + "\\" + std::to_string(reinterpret_cast<ULONG_PTR>(hive) & 0xF);
        HKEY scratch = nullptr;
        m_ready &= RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                                   nullptr) == ERROR_SUCCESS;
        m_hives[hive] = scratch;
    }
    for (auto [hive, scratch] : m_hives)
        m_ready &= scratch && RegOverridePredefKey(hive, scratch) == ERROR_SUCCESS;
}

ScratchRegistry::~ScratchRegistry()
{
    for (auto [hive, scratch] : m_hives)
        RegOverridePredefKey(hive, nullptr);
    for (auto [hive, scratch] : m_hives) {
        if (scratch)
            RegCloseKey(scratch);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, m_name.c_str());
}

std::vector<std::string> Dump(HKEY key)
{
    std::vector<std::string> lines;
    DumpInto(key, "", lines);
    return lines;
}

std::string Value(HKEY root, const std::string& key, const char* name, REGSAM view)
{
    char data[1024] = "";
    DWORD length = sizeof data;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
        return "<missing>";
    LSTATUS read = RegGetValueA(opened, nullptr, name, RRF_RT_REG_SZ, nullptr, data, &length);
    RegCloseKey(opened);
    return read == ERROR_SUCCESS ? data : "<missing>";
}

}  // namespace com
