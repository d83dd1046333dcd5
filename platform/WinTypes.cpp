#include "platform/WinTypes.h"

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long num = static_cast<long long>(a) * b;
    long long den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    long long q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    return static_cast<int>(q);
}
