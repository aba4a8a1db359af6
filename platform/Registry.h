#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

// Writes the registry entries by which clients find an automation class and its type library.
// On Windows they go per user, under HKEY_CURRENT_USER\Software\Classes, which needs no
// administrator. Wine does not look there, so under Wine they go to HKEY_CLASSES_ROOT as well.
// Both registry views get them, so that 32-bit and 64-bit clients alike find this executable.
// Writing again overwrites; within each entry the value that makes it usable (the server path,
// a link to another entry) is written last, so an interrupted write never sends a client to a
// wrong program.
class Registry {
public:
    explicit Registry(bool underWine = RunningUnderWine());

    static bool RunningUnderWine();

    // The ProgID names the class; the class names the ProgID, which is also its readable name,
    // and its local server, the full path in double quotes.
    bool RegisterServer(const CLSID& clsid, const std::string& progId, const std::string& serverPath) const;
    // The type library embedded in the module at path, and each dispatch interface it describes.
    bool RegisterTypeLibrary(const std::string& path) const;

private:
    bool SetValue(const std::string& key, const std::string& value, const char* name = nullptr) const;

    std::vector<std::pair<HKEY, std::string>> m_roots;   // a predefined key and the path under it
    std::vector<REGSAM> m_views;
};

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", upper case, as the registry spells class ids.
std::string GuidText(const GUID& guid);
