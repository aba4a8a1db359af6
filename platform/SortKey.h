#pragma once
#include <string>

// The key of the system's case-blind text comparison, the one sorted list boxes use:
// comparing two keys byte by byte orders the texts as the list would.
std::string CaseBlindSortKey(const std::string& text);
