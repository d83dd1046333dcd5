#pragma once

#include <string>

class CWnd;

// The application object: one per program, built before main with static
// storage duration. The framework's entry point runs its start-up routine once
// the user interface exists.
class CWinApp
{
public:
    // No name: the application's name is its executable's.
    explicit CWinApp(const wchar_t* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The start-up routine. False ends the program when it returns; true runs
    // the framework's message loop until the application quits.
    virtual bool InitInstance();

    // The key of the framework's per-user profile; nothing is stored under it here.
    void SetRegistryKey(const wchar_t* pszKey);

    std::wstring m_strAppName;
    std::wstring m_strRegistryKey;
    CWnd* m_pMainWnd = nullptr;
};

// The application object built last, or null.
CWinApp* AfxGetApp();

// The framework's entry point, for main: sets up the user interface, lets the
// desktop end the program (SIGINT and SIGTERM as the window's close button),
// runs the start-up routine of the application object and gives the process's
// exit code.
int AfxWinMain();
