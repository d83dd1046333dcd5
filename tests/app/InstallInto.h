#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The build installed under the prefix, as the README's install line does it.
inline ::testing::AssertionResult InstallInto(const std::string& strPrefix)
{
    const std::string install =
        std::string(CIRROVAN_CMAKE) + " --install " + CIRROVAN_BUILD_DIR + " --prefix " + strPrefix + " >/dev/null";
    if (std::system(install.c_str()) != 0)
        return ::testing::AssertionFailure() << install;
    return ::testing::AssertionSuccess();
}
