#include "platform/Registry.h"

#include <objbase.h>
#include <oleauto.h>

namespace {

const char proxyStubForDispatch[] = "{00020420-0000-0000-C000-000000000046}";

#ifdef _WIN64
const char platformKey[] = "win64";
#else
const char platformKey[] = "win32";
#endif

std::wstring Widen(const std::string& text)
{
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Narrow(const wchar_t* wide)
{
    if (!wide)
        return {};
    std::string text(
        static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

std::string Hex(unsigned value)
{
    char text[16];
    wsprintfA(text, "%x", value);
    return text;
}

std::string Directory(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

struct TypeLibraryEntries {
    std::string libraryId;
    std::string version;
    std::string name;
    std::vector<std::pair<std::string, std::string>> dispatchInterfaces;   // id, name
};

// The help string when asked for and there is one, else the name; index -1 is the library.
std::string Documentation(ITypeLib* library, int index, bool preferHelp)
{
    BSTR name = nullptr;
    BSTR help = nullptr;
    library->GetDocumentation(index, &name, &help, nullptr, nullptr);
    std::string text = Narrow(preferHelp && help && *help ? help : name);
    ::SysFreeString(name);
    ::SysFreeString(help);
    return text;
}

void ReadDispatchInterfaces(ITypeLib* library, TypeLibraryEntries& entries)
{
    for (UINT i = 0, count = library->GetTypeInfoCount(); i < count; ++i) {
        TYPEKIND kind;
        ITypeInfo* info = nullptr;
        if (FAILED(library->GetTypeInfoType(i, &kind)) || kind != TKIND_DISPATCH ||
            FAILED(library->GetTypeInfo(i, &info)))
            continue;
        TYPEATTR* attributes = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
            entries.dispatchInterfaces.emplace_back(GuidText(attributes->guid),
                                                    Documentation(library, int(i), false));
            info->ReleaseTypeAttr(attributes);
        }
        info->Release();
    }
}

bool ReadTypeLibrary(const std::string& path, TypeLibraryEntries& entries)
{
    ITypeLib* library = nullptr;
    if (FAILED(::LoadTypeLibEx(Widen(path).c_str(), REGKIND_NONE, &library)))
        return false;
    TLIBATTR* attributes = nullptr;
    bool read = SUCCEEDED(library->GetLibAttr(&attributes));
    if (read) {
        entries.libraryId = GuidText(attributes->guid);
        entries.version = Hex(attributes->wMajorVerNum) + "." + Hex(attributes->wMinorVerNum);
        library->ReleaseTLibAttr(attributes);
        entries.name = Documentation(library, -1, true);
        ReadDispatchInterfaces(library, entries);
    }
    library->Release();
    return read;
}

// The registry views that clients read: this process's own, and the other one where programs of
// the other bitness run. 64-bit Windows keeps class and interface entries apart for them; entries
// both views share are simply written twice. Only the other view takes a flag: with a flag, Wine 8
// would write past a RegOverridePredefKey, but Wine 8 here runs no 32-bit program at all.
std::vector<REGSAM> ClientViews()
{
#ifdef _WIN64
    char directory[MAX_PATH] = "";
    UINT length = ::GetSystemWow64DirectoryA(directory, MAX_PATH);
    bool runs32 = length > 0 && length < MAX_PATH &&
        ::GetFileAttributesA((std::string(directory) + "\\kernel32.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    return runs32 ? std::vector<REGSAM>{0, KEY_WOW64_32KEY} : std::vector<REGSAM>{0};
#else
    return {0, KEY_WOW64_64KEY};
#endif
}

}   // namespace

std::string GuidText(const GUID& guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return Narrow(text);
}

Registry::Registry(bool underWine) : m_views(ClientViews())
{
    m_roots.emplace_back(HKEY_CURRENT_USER, "Software\\Classes\\");
    if (underWine)
        m_roots.emplace_back(HKEY_CLASSES_ROOT, "");
}

bool Registry::RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

bool Registry::SetValue(const std::string& key, const std::string& value, const char* name) const
{
    bool written = true;
    for (const auto& [root, under] : m_roots) {
        for (REGSAM view : m_views) {
            HKEY opened = nullptr;
            if (::RegCreateKeyExA(root, (under + key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE | view, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
                written = false;
                continue;
            }
            written &= ::RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
            ::RegCloseKey(opened);
        }
    }
    return written;
}

bool Registry::RegisterServer(const CLSID& clsid, const std::string& progId,
                              const std::string& serverPath) const
{
    std::string classKey = "CLSID\\" + GuidText(clsid);
    bool written = SetValue(progId, progId);
    written &= SetValue(classKey, progId);
    written &= SetValue(classKey + "\\ProgID", progId);
    // Quoted, so that a path with blanks cannot start another program.
    written &= SetValue(classKey + "\\LocalServer32", "\"" + serverPath + "\"");
    written &= SetValue(progId + "\\CLSID", GuidText(clsid));
    return written;
}

bool Registry::RegisterTypeLibrary(const std::string& path) const
{
    TypeLibraryEntries library;
    if (!ReadTypeLibrary(path, library))
        return false;
    // What RegisterTypeLib writes, written here so that it can go per user on every system.
    std::string versionKey = "TypeLib\\" + library.libraryId + "\\" + library.version;
    bool written = SetValue(versionKey, library.name);
    written &= SetValue(versionKey + "\\FLAGS", "0");
    written &= SetValue(versionKey + "\\HELPDIR", Directory(path));
    written &= SetValue(versionKey + "\\0\\" + platformKey, path);
    for (const auto& [id, name] : library.dispatchInterfaces) {
        std::string interfaceKey = "Interface\\" + id;
        written &= SetValue(interfaceKey, name);
        written &= SetValue(interfaceKey + "\\ProxyStubClsid32", proxyStubForDispatch);
        written &= SetValue(interfaceKey + "\\TypeLib", library.version, "Version");
        written &= SetValue(interfaceKey + "\\TypeLib", library.libraryId);
    }
    return written;
}
