#include "platform/LocalClock.h"

#include <windows.h>

LocalReading ReadLocalClock()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
