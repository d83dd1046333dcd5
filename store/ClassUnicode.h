#pragma once

#include <string>

// Converts between wide text and the system's 8-bit code page (CCodePage). Each
// result lives in this object until the next conversion or its destruction.
class ClassUnicode
{
public:
    // A null input gives a null result.
    const char* ToAnsi(const wchar_t* pszWide);
    const char* ToAnsi(const std::wstring& strWide);
    const wchar_t* ToWide(const char* pszAnsi);
    const wchar_t* ToWide(const std::string& strAnsi);

private:
    std::string m_ansi;
    std::wstring m_wide;
};
