#include "store/XmlFile.h"

#include "../TempFolder.h"
#include "../UmaskWatch.h"

#include <gtest/gtest.h>

#include <tinyxml.h>

#include <atomic>
#include <climits>
#include <mutex>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// What the flushes of folders found: for each, the folder and what the file
// under watch held at that moment.
std::mutex g_flushMutex;
std::string g_watchedFile;
std::vector<std::pair<std::string, std::string>> g_folderFlushes;

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

bool SaveDocument(const std::string& path, const char* pszRoot)
{
    TiXmlDocument doc;
    doc.InsertEndChild(TiXmlElement(pszRoot));
    return CXmlFile::Save(doc, CCodePage::Decode(path));
}

} // namespace

// This test program sees every flush before the C library does: a folder's
// flush is not visible in the folder.
extern "C" int fsync(int fd)
{
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        char folder[PATH_MAX] = {};
        ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), folder, sizeof folder - 1);
        std::lock_guard<std::mutex> lock(g_flushMutex);
        if (n > 0 && !g_watchedFile.empty())
            g_folderFlushes.emplace_back(folder, ReadWhole(g_watchedFile));
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

TEST(XmlSave, NewFileGetsTheModeOfAnyNewFileAndTheUmaskStaysAlone)
{
    CTempFolder temp;
    const mode_t old = SetUmask(022);
    g_nUmaskCalls = 0;
    for (mode_t mask : {mode_t(027), mode_t(022), mode_t(077)}) {
        SetUmask(mask);
        const std::string path = temp.Path("new" + std::to_string(mask) + ".dat");
        ASSERT_TRUE(SaveDocument(path, "stations"));
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << std::oct << mask;
        EXPECT_EQ(SetUmask(mask), mask);
    }
    EXPECT_EQ(g_nUmaskCalls, 0);
    SetUmask(old);
}

TEST(XmlSave, ReplacedFileKeepsItsMode)
{
    CTempFolder temp;
    const mode_t old = SetUmask(022);
    const std::string path = temp.Path("settings.dat");
    for (mode_t mode : {mode_t(0600), mode_t(0664), mode_t(0640)}) {
        temp.Write("settings.dat", "<old/>");
        chmod(path.c_str(), mode);
        ASSERT_TRUE(SaveDocument(path, "Cirrovan"));
        EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
        EXPECT_NE(temp.Read("settings.dat").find("<Cirrovan"), std::string::npos);
    }
    SetUmask(old);
}

TEST(XmlSave, FolderIsFlushedOnceTheNewFileIsInPlace)
{
    CTempFolder temp;
    const std::string path = temp.Path("stations.dat");
    temp.Write("stations.dat", "<old/>");
    {
        std::lock_guard<std::mutex> lock(g_flushMutex);
        g_watchedFile = path;
        g_folderFlushes.clear();
    }
    ASSERT_TRUE(SaveDocument(path, "stations"));
    std::lock_guard<std::mutex> lock(g_flushMutex);
    g_watchedFile.clear();
    ASSERT_EQ(g_folderFlushes.size(), 1u);
    EXPECT_EQ(g_folderFlushes[0].first, std::filesystem::canonical(temp.m_path).string());
    EXPECT_NE(g_folderFlushes[0].second.find("<stations"), std::string::npos);
}

} // namespace
