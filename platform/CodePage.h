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

    // The character that starts at p, of the n bytes there (n > 0): its length
    // in bytes, with c the character, or U+FFFD for a byte that starts no
    // character or a truncated or broken sequence, which then ends before the
    // next byte that could start one. For those who repair text in a pass of
    // their own; the rest of a text is never read.
    static size_t Next(const char* p, size_t n, char32_t& c);
};
