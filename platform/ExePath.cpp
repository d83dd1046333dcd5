#include "platform/ExePath.h"

#include "platform/CodePage.h"

#include <climits>
#include <mutex>
#include <unistd.h>

namespace {
std::mutex g_mutex;
std::wstring g_strOverride;
}

std::wstring CExePath::Get()
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_strOverride.empty())
            return g_strOverride;
    }
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::wstring();
    return CCodePage::Decode(std::string(buffer, static_cast<size_t>(n)));
}

void CExePath::SetForTest(const std::wstring& strPath)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_strOverride = strPath;
}
