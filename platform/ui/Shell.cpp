#include "platform/ui/Shell.h"

#include "platform/ui/QtBridge.h"
#include "platform/ui/UiObserver.h"

#include <QDesktopServices>
#include <QUrl>
#include <cwchar>

bool CUrlOpener::Open(const std::wstring& strUrl)
{
    if (CUiObserver* pObserver = GetUiObserver(); pObserver && pObserver->OpeningUrl(strUrl))
        return true;
    EnsureApplication();
    return QDesktopServices::openUrl(QUrl(ToQString(strUrl)));
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
