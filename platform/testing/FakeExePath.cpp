#include "platform/testing/FakeExePath.h"

namespace {
CFakeExePath g_path;
}

void CFakeExePath::Set(const std::wstring& strPath)
{
    if (strPath.empty()) {
        CExePath::Use(nullptr);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(g_path.m_mutex);
        g_path.m_strPath = strPath;
    }
    CExePath::Use(&g_path);
}

std::wstring CFakeExePath::Path() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strPath;
}
