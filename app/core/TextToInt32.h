#pragma once

#include <cstdint>
#include <string_view>

// A number typed into a dialog, read as atoi reads it: leading white space skipped, an
// optional sign, then decimal digits up to the first other character; no number gives 0.
// Beyond 32 bits it saturates instead of overflowing.
std::int32_t TextToInt32(std::string_view text);
