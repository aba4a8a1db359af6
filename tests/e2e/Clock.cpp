#include "Clock.h"

#include "Harness.h"

#include <cstdio>

namespace e2e {
namespace {

constexpr long long ticksPerSecond = 10'000'000;  // FILETIME counts 100 ns

long long Ticks(const SYSTEMTIME& t)
{
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) |
                                  f.dwLowDateTime);
}

SYSTEMTIME FromTicks(long long ticks)
{
    FILETIME f;
    f.dwLowDateTime = static_cast<DWORD>(ticks);
    f.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(ticks) >> 32);
    SYSTEMTIME t;
    FileTimeToSystemTime(&f, &t);
    t.wMilliseconds = 0;
    return t;
}

ClockView ReadOnce(const Pavix& pavix)
{
    ClockView v;
    v.yourTime = Text(pavix.Control(idYourCityTime));
    v.yourDate = Text(pavix.Control(idYourCityDate));
    v.yourName = Text(pavix.Control(idYourCityName));
    v.destinationName = Text(pavix.Control(idDestinationName));
    v.destinationDate = Text(pavix.Control(idDestinationDate));
    v.destinationTime = Text(pavix.Control(idDestinationTime));
    return v;
}

bool SameTexts(const ClockView& a, const ClockView& b)
{
    return a.yourTime == b.yourTime && a.yourDate == b.yourDate && a.yourName == b.yourName &&
           a.destinationName == b.destinationName && a.destinationDate == b.destinationDate &&
           a.destinationTime == b.destinationTime;
}

}  // namespace

std::string TimeText(const SYSTEMTIME& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u %s", t.wHour, t.wMinute, t.wSecond,
                  t.wHour < 12 ? "AM" : "PM");
    return text;
}

std::string DateText(const SYSTEMTIME& t)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[16];
    std::snprintf(text, sizeof text, "%s %02u", months[t.wMonth - 1], t.wDay);
    return text;
}

SYSTEMTIME AddMinutes(const SYSTEMTIME& t, long long minutes)
{
    return FromTicks(Ticks(t) + minutes * 60 * ticksPerSecond);
}

ClockView ReadClock(const Pavix& pavix)
{
    // A tick between two reads of one pass would mix two moments; a pass that
    // agrees with the one before it was not cut by a tick.
    SYSTEMTIME from;
    GetLocalTime(&from);
    ClockView view = ReadOnce(pavix);
    for (int pass = 0; pass < 50; ++pass) {
        ClockView next = ReadOnce(pavix);
        bool settled = SameTexts(next, view);
        view = next;
        if (settled)
            break;
    }
    view.readFrom = from;
    GetLocalTime(&view.readUntil);
    return view;
}

std::optional<SYSTEMTIME> ShownLocalMoment(const ClockView& view)
{
    // Ticks come every 100 ms, but a loaded machine may hold one back for a while.
    long long first = Ticks(view.readFrom) / ticksPerSecond - 3;
    long long last = Ticks(view.readUntil) / ticksPerSecond;
    for (long long second = first; second <= last; ++second) {
        SYSTEMTIME moment = FromTicks(second * ticksPerSecond);
        if (TimeText(moment) == view.yourTime && DateText(moment) == view.yourDate)
            return moment;
    }
    return std::nullopt;
}

}  // namespace e2e
