// The temporary file a download is received into.

#include "../TempFolder.h"
#include "../UmaskWatch.h"

#include "net/DownloadFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace {

long long SizeOnDisk(const std::wstring& strPath)
{
    struct stat st = {};
    return stat(CCodePage::Encode(strPath).c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// The answer's 1 KiB blocks reach the disk 64 KiB at a time: each write to the
// file system costs far more than the copy, and a stream left at its default
// buffer makes sixteen times as many.
TEST(DownloadFile, GathersTheBlocksIntoLargeWrites)
{
    CTempFolder folder;
    CDownloadFile file(folder.WidePath("forecast.dat"));
    ASSERT_TRUE(file.Create());
    const std::string block(1024, 'b');
    for (int i = 0; i < 63; ++i)
        ASSERT_TRUE(file.Write(block.data(), block.size()));
    EXPECT_EQ(SizeOnDisk(file.m_strTemp), 0);
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(file.Write(block.data(), block.size()));
    EXPECT_EQ(SizeOnDisk(file.m_strTemp), 64 * 1024);
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(folder.Read("forecast.dat"), std::string(65 * 1024, 'b'));
}

// The download runs on a worker thread while the user-interface thread may
// save a file: the answer's file gets the mode of any new file without the
// process's umask being touched.
TEST(DownloadFile, GetsTheModeOfAnyNewFileAndLeavesTheUmaskAlone)
{
    CTempFolder folder;
    const mode_t old = SetUmask(022);
    g_nUmaskCalls = 0;
    for (mode_t mask : {mode_t(027), mode_t(022), mode_t(077)}) {
        SetUmask(mask);
        CDownloadFile file(folder.WidePath("forecast.dat"));
        ASSERT_TRUE(file.Create());
        ASSERT_TRUE(file.Write("<x/>", 4));
        ASSERT_TRUE(file.Commit());
        struct stat st = {};
        ASSERT_EQ(stat(folder.Path("forecast.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
        EXPECT_EQ(SetUmask(mask), mask);
    }
    EXPECT_EQ(g_nUmaskCalls, 0);
    SetUmask(old);
}

}
