#include "platform/SortKey.h"

#include <windows.h>

std::string CaseBlindSortKey(const std::string& text)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int length = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), int(text.size()), nullptr, 0);
    std::string key(size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), int(text.size()),
                       reinterpret_cast<LPSTR>(key.data()), length);
    return key;
}
