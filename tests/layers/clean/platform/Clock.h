#pragma once

class ITimeSource;

class CClock
{
public:
    static long long Now();
    static void Use(const ITimeSource* pSource);
};
