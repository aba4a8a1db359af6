#pragma once
#include <string_view>

// The bytes of this program's RCDATA resource id; empty when there is none.
std::string_view LoadRawResource(int id);
