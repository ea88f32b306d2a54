#pragma once

#include <cstdint>
#include <limits>

// Whole-number arithmetic of the head tracking. Positions handed over by the face analysis are
// ordinary pixels, but nothing guarantees it: sums, differences and negations of values near the
// 32-bit limits saturate instead of overflowing. (Floating point becomes whole numbers through
// faceanalysis/TruncateTowardZero.h.)

inline std::int32_t ClampToInt32(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// Minus the value; the one value without a 32-bit negative gives the largest one.
inline std::int32_t NegateSaturating(std::int32_t value)
{
    return ClampToInt32(-static_cast<std::int64_t>(value));
}

inline std::int32_t AbsSaturating(std::int32_t value)
{
    return value < 0 ? NegateSaturating(value) : value;
}
