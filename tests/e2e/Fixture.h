#pragma once
// A pavix.exe started on a small city database, for the tests that need it running.
#include "Harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Out of alphabetical order, lower and upper case, tabs and blanks, both line ends,
// and a last line without one.
inline const std::string worldCities =
    "Tokyo\t9.00\r\n"
    "boston\t-5.00\r\n"
    "Udaipur\t5.50\r\n"
    "Kiritimati\t14.00\r\n"
    "Cairo  2.00\n"
    "Honolulu\t-10.00\r\n"
    "Adelaide\t9.50";

inline const std::vector<std::string> worldCitiesSorted = {
    "Adelaide 9.50", "boston -5.00", "Cairo  2.00",  "Honolulu -10.00",
    "Kiritimati 14.00", "Tokyo 9.00", "Udaipur 5.50",
};

// Index of an entry in worldCitiesSorted.
inline int IndexOf(const std::string& entry)
{
    for (size_t i = 0; i < worldCitiesSorted.size(); ++i)
        if (worldCitiesSorted[i] == entry)
            return static_cast<int>(i);
    return -1;
}

class RunningPavix : public testing::Test {
protected:
    void SetUp() override
    {
        pavix = std::make_unique<Pavix>(worldCities);
        ASSERT_TRUE(pavix->Started()) << "pavix.exe did not start";
        ASSERT_TRUE(pavix->WaitForMainWindow()) << "no main window";
    }

    HWND Main() const { return pavix->Main(); }
    HWND Control(int id) const { return pavix->Control(id); }

    std::unique_ptr<Pavix> pavix;
};

}  // namespace e2e
