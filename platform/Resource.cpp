#include "platform/Resource.h"

#include <windows.h>

std::string_view LoadRawResource(int id)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));   // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    return bytes ? std::string_view(static_cast<const char*>(bytes), ::SizeofResource(nullptr, found))
                 : std::string_view();
}
