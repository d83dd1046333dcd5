#pragma once

#include <gtest/gtest.h>

#include <locale.h>

// Whether the C library has the locale; the tests that run the program in a
// language need it, and scripts/install-deps generates the ones they use.
inline ::testing::AssertionResult Installed(const char* pszLocale)
{
    const locale_t loc = newlocale(LC_ALL_MASK, pszLocale, static_cast<locale_t>(0));
    if (!loc)
        return ::testing::AssertionFailure() << "the locale " << pszLocale
                                             << " is not installed; scripts/install-deps generates it";
    freelocale(loc);
    return ::testing::AssertionSuccess();
}
