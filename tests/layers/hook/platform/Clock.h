#pragma once

class CClock
{
public:
    static long long Now();
    static void Freeze(long long utcSeconds);
};
