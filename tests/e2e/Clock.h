#pragma once
// What the six clock texts of the main window should say.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class Pavix;

// "21:45:30 PM": the hour stays in 24-hour form beside the marker.
std::string TimeText(const SYSTEMTIME& t);
// "Dec 06"
std::string DateText(const SYSTEMTIME& t);
SYSTEMTIME AddMinutes(const SYSTEMTIME& t, long long minutes);

struct ClockView {
    std::string yourTime, yourDate, yourName;
    std::string destinationName, destinationDate, destinationTime;
    SYSTEMTIME readFrom{}, readUntil{};  // local time just before and after reading
};
// The six texts as one tick left them (read until two readings agree).
ClockView ReadClock(const Pavix& pavix);

// The local moment, a few seconds back at most, whose time and date the left column shows.
std::optional<SYSTEMTIME> ShownLocalMoment(const ClockView& view);

}  // namespace e2e
