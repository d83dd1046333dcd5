#include "platform/WinTypes.h"

#include <climits>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    // The product of two ints always fits in 64 bits, and so does the rounding.
    long long num = static_cast<long long>(a) * b;
    long long den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    if (q > INT_MAX || q < INT_MIN)
        return -1;
    return static_cast<int>(q);
}
