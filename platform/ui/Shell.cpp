#include "platform/ui/Shell.h"

#include "platform/ui/QtBridge.h"

#include <QDesktopServices>
#include <QUrl>
#include <cwchar>
#include <mutex>

namespace {
std::mutex g_mutex;
std::function<void(const std::wstring&)> g_fnOpener;
}

bool CUrlOpener::Open(const std::wstring& strUrl)
{
    std::function<void(const std::wstring&)> fn;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        fn = g_fnOpener;
    }
    if (fn) {
        fn(strUrl);
        return true;
    }
    EnsureApplication();
    return QDesktopServices::openUrl(QUrl(ToQString(strUrl)));
}

void CUrlOpener::SetForTest(std::function<void(const std::wstring&)> fnOpener)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_fnOpener = std::move(fnOpener);
}

bool ShellExecuteEx(SHELLEXECUTEINFO* pInfo)
{
    if (!pInfo || !pInfo->lpFile)
        return false;
    // The device's browser takes the address as its parameter; any other file is
    // opened as an address of its own.
    if (wcscmp(pInfo->lpFile, L":MSPIE") == 0)
        return CUrlOpener::Open(pInfo->lpParameters ? pInfo->lpParameters : L"");
    return CUrlOpener::Open(pInfo->lpFile);
}
