#pragma once

#include "platform/WinTypes.h"

#include <string>

constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr int SW_SHOWNORMAL_SHELL = 5;

// The shell's execution record; the file ":MSPIE" is the web browser, which opens
// the parameter string as an address.
struct SHELLEXECUTEINFO
{
    DWORD cbSize;
    DWORD fMask;
    void* hwnd;
    const wchar_t* lpVerb;
    const wchar_t* lpFile;
    const wchar_t* lpParameters;
    const wchar_t* lpDirectory;
    int nShow;
};

// False when the browser could not be started (no opener, or no browser).
bool ShellExecuteEx(SHELLEXECUTEINFO* pInfo);

// The desktop's URL opener (xdg-open), unless the user-interface observer takes
// the address. False when it is missing or says it could not open the address;
// waits for its answer at most a moment.
class CUrlOpener
{
public:
    static bool Open(const std::wstring& strUrl);
};
