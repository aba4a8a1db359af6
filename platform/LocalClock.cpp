#include "platform/LocalClock.h"

#include <windows.h>

LocalReading ReadLocalClock(int64_t& utcSeconds)
{
    FILETIME instant;
    ::GetSystemTimeAsFileTime(&instant);
    SYSTEMTIME utc, now;
    ::FileTimeToSystemTime(&instant, &utc);
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &now))
        ::GetLocalTime(&now);   // damaged zone data: the system's own reading, a moment later
    const int64_t ticks = int64_t(instant.dwHighDateTime) << 32 | instant.dwLowDateTime;
    const int64_t ticksTo1970 = 116444736000000000;   // 100 ns steps from 1601
    utcSeconds = (ticks - ticksTo1970) / 10000000;
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

LocalReading ReadLocalClock()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
