#pragma once

#include <cstdarg>
#include <locale.h>
#include <string>

// Formatted wide text with the platform's meaning of the conversions: in a wide
// format "%s" and "%c" take wide text, "%S" and "%C" (or "%hs", "%hc") 8-bit
// text in the system code page, "%ls"/"%ws" wide again. glibc's swprintf reads
// "%s" as 8-bit text, so formats written for the platform must come here.
// Numbers follow printf: flags "-+ #0", width and precision (also "*"), the
// lengths h, hh, l, ll, I64, z, j, t, L, and d i u o x X c e E f F g G a A p %.
// "%n" writes nothing; an unknown conversion is copied as it stands.
class CWideFormat
{
public:
    // Numbers as the "C" locale writes them, whatever the process's locale:
    // for files, logs and requests, and for shown texts whose numbers are whole.
    static std::wstring Format(const wchar_t* pszFormat, ...);
    static std::wstring FormatV(const wchar_t* pszFormat, va_list args);
    // Numbers with the user's conventions (CUserLocale): for what is shown.
    static std::wstring FormatForUser(const wchar_t* pszFormat, ...);

private:
    static std::wstring FormatIn(locale_t loc, const wchar_t* pszFormat, va_list args);
};
