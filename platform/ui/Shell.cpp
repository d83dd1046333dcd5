#include "platform/ui/Shell.h"

#include "platform/ui/QtBridge.h"
#include "platform/ui/UiObserver.h"

#include <QProcess>
#include <cwchar>

namespace {
// How long the opener may take to say it failed. A browser it starts may keep
// it running for as long as the browser runs: by then the page is showing.
const int kOpenerVerdictMs = 2000;
}

bool CUrlOpener::Open(const std::wstring& strUrl)
{
    if (CUiObserver* pObserver = GetUiObserver(); pObserver && pObserver->OpeningUrl(strUrl))
        return true;
    EnsureApplication();
    // The desktop's opener is run directly, not through QDesktopServices, which
    // reports only that it started: without a browser it starts and fails, and
    // the user would be left with nothing.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({ToQString(strUrl)});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted(kOpenerVerdictMs)) {
        delete opener;
        return false;
    }
    if (!opener->waitForFinished(kOpenerVerdictMs)) {
        // Still running: it has started a browser. It is left to finish in its
        // own time and goes when it does.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool bOpened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    delete opener;
    return bOpened;
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
