#pragma once
// Points this process's HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS
// at empty scratch keys, so that a test sees everything the code under test writes and where.
// The destructor puts the hives back and removes the scratch keys.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace com {

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    bool Ready() const { return m_ready; }
    // The scratch key that stands for a predefined one.
    HKEY Hive(HKEY predefined) const { return m_hives.at(predefined); }

private:
    std::string m_name;
    std::map<HKEY, HKEY> m_hives;
    bool m_ready = false;
};

// Every value under key, one line each: "sub\key|name=data" (name empty for the default).
std::vector<std::string> Dump(HKEY key);
// A string value, or "<missing>"; view may pick a registry view (KEY_WOW64_...).
std::string Value(HKEY root, const std::string& key, const char* name = nullptr, REGSAM view = 0);

}  // namespace com
