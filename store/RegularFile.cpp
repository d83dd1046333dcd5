#include "store/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

int CRegularFile::Open(const std::string& strPath, int nFlags)
{
    // Looking first keeps a pipe or a device from being opened at all; the
    // check after the open covers a path that changed in between, which the
    // non-blocking open keeps from waiting.
    struct stat st;
    if (strPath.empty() || stat(strPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    int fd = open(strPath.c_str(), nFlags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int CRegularFile::CreateBeside(const std::string& strTarget, std::string& strTemp)
{
    std::random_device random;
    for (int i = 0; i < 100; ++i) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        strTemp = strTarget + suffix;
        int fd = open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}


bool CRegularFile::IsTempOf(const std::string& strName, const std::string& strTargetName)
{
    const size_t n = strTargetName.size();
    if (strName.size() != n + 9 || strName.compare(0, n, strTargetName) != 0 || strName[n] != '.')
        return false;
    for (size_t i = n + 1; i < strName.size(); ++i) {
        const char c = strName[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool CRegularFile::FlushFolder(const std::string& strPath)
{
    size_t nSlash = strPath.rfind('/');
    std::string folder = nSlash == std::string::npos ? "." : nSlash == 0 ? "/" : strPath.substr(0, nSlash);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    bool bOk = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return bOk;
}
