#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Whole-number conversions of the head tracking. Positions handed over by the face analysis
// are ordinary pixels, but nothing guarantees it: values beyond 32 bits (and NaN) must not make
// a conversion undefined, so they saturate instead.

inline std::int32_t ClampToInt32(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// Truncation toward zero; NaN gives 0.
inline std::int32_t TruncateTowardZero(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
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
