#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// Geometry is computed in floating point and turned into whole pixels by truncation toward
// zero. Saturated (and NaN to 0) so that degenerate geometry cannot overflow an int.
inline int Truncate(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = -static_cast<double>(std::numeric_limits<int>::max());
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, lowest, highest));
}
