#include "platform/ExePath.h"

#include "platform/CodePage.h"

#include <atomic>
#include <climits>
#include <unistd.h>

namespace {
std::atomic<const IExePathSource*> g_pSource{nullptr};
}

std::wstring CExePath::Get()
{
    if (const IExePathSource* pSource = g_pSource.load())
        return pSource->Path();
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::wstring();
    return CCodePage::Decode(std::string(buffer, static_cast<size_t>(n)));
}

void CExePath::Use(const IExePathSource* pSource)
{
    g_pSource = pSource;
}
