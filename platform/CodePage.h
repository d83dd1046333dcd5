#pragma once

#include <string>

// The system's 8-bit code page, which is UTF-8 on Linux. Bytes that are not valid
// UTF-8, and wide characters that are not Unicode scalar values, become U+FFFD
// instead of failing.
class CCodePage
{
public:
    static std::string Encode(const std::wstring& strWide);
    static std::wstring Decode(const std::string& strAnsi);
    // The same text in valid UTF-8: what Decode reads as U+FFFD is written as
    // U+FFFD, everything else is kept byte for byte.
    static std::string Repair(const std::string& strAnsi);
};
