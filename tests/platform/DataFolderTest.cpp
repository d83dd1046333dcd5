#include "platform/DataFolder.h"
#include "platform/testing/FakeExePath.h"
#include "platform/ExePath.h"

#include "../EnvGuard.h"
#include "../TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(DataFolder, IsTheExecutablesFolderWhenWritable)
{
    CTempFolder temp;
    CFakeExePath::Set(temp.WidePath("app"));
    EXPECT_EQ(CDataFolder::Get(), CCodePage::Decode(temp.m_path));

    CFakeExePath::Set(L"app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"");
    CFakeExePath::Set(L"/app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"");
    CFakeExePath::Set(L"/Apps/Weather/app");
    EXPECT_EQ(CDataFolder::ExeFolder(), L"/Apps/Weather");
}

TEST(DataFolder, FallsBackToTheUsersDataHomeAndCreatesIt)
{
    CTempFolder temp;
    // A folder that does not exist cannot be written either.
    CFakeExePath::Set(temp.WidePath("usr/lib/cirrovan/app"));
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
        CFakeExePath::Set(temp.WidePath("ro/app"));
        EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
        std::filesystem::permissions(temp.Path("ro"), std::filesystem::perms::owner_all);
    }
}

// An installed program keeps its data in the user's data home whoever runs
// it, root too, who could write the install prefix's bin folder; a program run
// from its build folder, or copied anywhere else, keeps it beside itself.
TEST(DataFolder, AnInstalledProgramsFolderIsNeverTheDataFolder)
{
    CTempFolder temp;
    CEnvGuard xdg("XDG_DATA_HOME", temp.Path("xdg").c_str());
    std::filesystem::create_directories(temp.Path("prefix/bin"));
    std::filesystem::create_directories(temp.Path("prefix/share/applications"));
    std::filesystem::create_directories(temp.Path("build"));
    const struct
    {
        std::string exe;
        bool bInstalled;
    } cases[] = {
        {temp.Path("build/cirrovan"), false},
        // A bin folder alone is not an install...
        {temp.Path("prefix/bin/cirrovan"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe);
        CFakeExePath::Set(CCodePage::Decode(c.exe));
        EXPECT_EQ(CDataFolder::Get(), CCodePage::Decode(c.exe.substr(0, c.exe.rfind('/'))));
    }
    // ...until the desktop entry is installed beside it, wherever the prefix is.
    temp.Write("prefix/share/applications/cirrovan.desktop", "[Desktop Entry]\n");
    CFakeExePath::Set(temp.WidePath("prefix/bin/cirrovan"));
    EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
    // Reached through a link too.
    std::filesystem::create_directory_symlink(temp.Path("prefix/bin"), temp.Path("linked"));
    CFakeExePath::Set(temp.WidePath("linked/cirrovan"));
    EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
    // The bin folder of the prefix this program was built for, with or without
    // an entry beside it.
    EXPECT_TRUE(CDataFolder::IsInstalledFolder(CDataFolder::InstallBinFolder()));
    CFakeExePath::Set(CDataFolder::InstallBinFolder() + L"/cirrovan");
    EXPECT_EQ(CDataFolder::Get(), temp.WidePath("xdg/cirrovan"));
    EXPECT_FALSE(CDataFolder::IsInstalledFolder(L""));
}

} // namespace
