#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// Geometry is computed in floating point and turned into whole numbers (pixels, degrees, grey
// levels) by truncation toward zero. Beyond the int range the result saturates at plus or minus
// INT_MAX, symmetric so that its negation and absolute value stay defined, and NaN gives 0: no
// degenerate value makes the conversion undefined.
inline int TruncateTowardZero(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double kLargest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, -kLargest, kLargest));
}
