#pragma once
// What the fuzz targets share: the disk in memory, the input cut at its line feeds, and a failed
// property that stops the run (libFuzzer then keeps the input).
#include "../core/Disk.h"

#include <cstdio>

inline void CheckProperty(bool holds, const char* property, const char* file, int line)
{
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s (%s:%d)\n", property, file, line);
    std::abort();
}
#define FUZZ_CHECK(condition) CheckProperty((condition), #condition, __FILE__, __LINE__)

// The input up to its first line feed, which is taken off too.
inline std::string_view Take(std::string_view& input)
{
    const std::string_view part = input.substr(0, input.find('\n'));
    input.remove_prefix(std::min(part.size() + 1, input.size()));
    return part;
}
