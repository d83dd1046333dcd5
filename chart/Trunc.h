#pragma once

#include <climits>
#include <cmath>

// Double to int truncating toward zero. Values beyond the int range (a hostile
// feed, a degenerate scale) are held at its ends instead of overflowing; NaN is 0.
inline int TruncToInt(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 2147483647.0)
        return INT_MAX;
    if (d <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(d);
}

// 64-bit result held at the int range.
inline int ClampToInt(long long n)
{
    return n > INT_MAX ? INT_MAX : (n < INT_MIN ? INT_MIN : static_cast<int>(n));
}
