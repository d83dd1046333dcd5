#include "platform/CodePage.h"

namespace {

const char32_t REPLACEMENT = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = REPLACEMENT;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads the character that starts at i and moves i past it. False, with i past
// the bytes read so far, for a byte that starts no character or a truncated or
// broken sequence: the next valid character is then not swallowed.
bool ReadUtf8(const std::string& s, size_t& i, char32_t& c)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const size_t n = s.size();
    unsigned char b = p[i++];
    int nMore;
    char32_t minimum;
    if (b < 0x80) {
        c = b;
        return true;
    } else if (b >= 0xC2 && b <= 0xDF) {
        nMore = 1; c = b & 0x1F; minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        nMore = 2; c = b & 0x0F; minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        nMore = 3; c = b & 0x07; minimum = 0x10000;
    } else {
        return false;
    }
    for (int k = 0; k < nMore; ++k, ++i) {
        if (i >= n || (p[i] & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (p[i] & 0x3F);
    }
    return c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

} // namespace

std::string CCodePage::Encode(const std::wstring& strWide)
{
    std::string out;
    out.reserve(strWide.size());
    for (wchar_t wc : strWide)
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wc)));
    return out;
}

std::wstring CCodePage::Decode(const std::string& strAnsi)
{
    std::wstring out;
    out.reserve(strAnsi.size());
    size_t i = 0;
    while (i < strAnsi.size()) {
        char32_t c;
        out += static_cast<wchar_t>(ReadUtf8(strAnsi, i, c) ? c : REPLACEMENT);
    }
    return out;
}

std::string CCodePage::Repair(const std::string& strAnsi)
{
    std::string out;
    out.reserve(strAnsi.size());
    size_t i = 0;
    while (i < strAnsi.size()) {
        size_t nStart = i;
        char32_t c;
        if (ReadUtf8(strAnsi, i, c))
            out.append(strAnsi, nStart, i - nStart);
        else
            AppendUtf8(out, REPLACEMENT);
    }
    return out;
}
