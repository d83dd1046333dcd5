#include "platform/DataFolder.h"
#include "platform/ExePath.h"

#include "../EnvGuard.h"
#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

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
