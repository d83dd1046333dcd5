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

bool ShellExecuteEx(SHELLEXECUTEINFO* pInfo);

// The desktop's URL opener, unless the user-interface observer takes the address.
class CUrlOpener
{
public:
    static bool Open(const std::wstring& strUrl);
};
