#include "platform/ui/WinApp.h"

#include "platform/ui/DeviceScreen.h"
#include "platform/ui/QtBridge.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

CWinApp* g_pApp = nullptr;
int g_signalPipe[2] = {-1, -1};

void OnSignal(int nSignal)
{
    // Only what is safe in a signal handler: the loop reads it.
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    const ssize_t n = write(g_signalPipe[1], &byte, 1);
    (void)n;
}

// SIGINT and SIGTERM end the program as the window's close button does: the
// dialogs open close as by their Cancel, then the main page as by its done
// button. A signal that finds the end under way already (or no page to end)
// takes its default course; nothing is lost by that, since every file is
// written whole at the moment it changes.
void WatchSignals()
{
    if (g_signalPipe[0] >= 0 || pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, []() {
        unsigned char byte = 0;
        while (read(g_signalPipe[0], &byte, 1) == 1) {
            if (!CDeviceScreen::Get().RequestQuit()) {
                std::signal(byte, SIG_DFL);
                std::raise(byte);
            }
        }
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace

CWinApp::CWinApp(const wchar_t* pszAppName) : m_strAppName(pszAppName ? pszAppName : L"")
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CWinApp::InitInstance()
{
    return true;
}

void CWinApp::SetRegistryKey(const wchar_t* pszKey)
{
    m_strRegistryKey = pszKey ? pszKey : L"";
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

int AfxWinMain()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    EnsureApplication();
    WatchSignals();
    if (pApp->InitInstance())
        QApplication::exec();
    return 0;
}
