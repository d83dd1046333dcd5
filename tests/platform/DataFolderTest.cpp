#include "platform/DataFolder.h"
#include "platform/ExePath.h"

#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <unistd.h>

namespace {

// Sets or unsets an environment variable for one test and puts it back after.
class CEnvGuard
{
public:
    CEnvGuard(const char* pszName, const char* pszValue) : m_name(pszName)
    {
        if (const char* pszOld = std::getenv(pszName))
            m_old = pszOld;
        if (pszValue)
            setenv(pszName, pszValue, 1);
        else
            unsetenv(pszName);
    }
    ~CEnvGuard()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

TEST(DataFolder, IsTheExecutablesFolderWhenWritable)
{
    CTempFolder temp;
    CExePath::SetForTest(temp.WidePath("app"));
    EXPECT_EQ(CDataFolder::Get(), CCodePage::Decode(temp.m_path));

    CExePath::SetForTest(L"app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"");
    CExePath::SetForTest(L"/app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"");
    CExePath::SetForTest(L"/Apps/Weather/app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"/Apps/Weather");
}

TEST(DataFolder, FallsBackToTheUsersDataHomeAndCreatesIt)
{
    CTempFolder temp;
    // A folder that does not exist cannot be written either.
    CExePath::SetForTest(temp.WidePath("usr/lib/cirrovan/app"));
    {
        CEnvGuard xdg("XDG_DATA_HOME", temp.Path("xdg").c_str());
        EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
        EXPECT_TRUE(temp.Exists("xdg/cirrovan"));
    }
    {
        // Without XDG_DATA_HOME, or with a relative one, the home's default holds.
        CEnvGuard xdg("XDG_DATA_HOME", "relative/data");
        CEnvGuard home("HOME", temp.Path("home").c_str());
        EXPECT_EQ(CDataFolder::Get(), temp.WidePath("home/.local/share/cirrovan"));
        EXPECT_TRUE(temp.Exists("home/.local/share/cirrovan"));
    }
    if (geteuid() != 0) {
        // Permissions bind only a user other than root.
        CEnvGuard xdg("XDG_DATA_HOME", temp.Path("xdg").c_str());
        std::filesystem::create_directory(temp.Path("ro"));
        std::filesystem::permissions(temp.Path("ro"), std::filesystem::perms::owner_read
                                     | std::filesystem::perms::owner_exec);
        CExePath::SetForTest(temp.WidePath("ro/app"));
        EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
        std::filesystem::permissions(temp.Path("ro"), std::filesystem::perms::owner_all);
    }
}

} // namespace
