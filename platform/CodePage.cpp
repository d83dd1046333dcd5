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

} // namespace

size_t CCodePage::Next(const char* p, size_t n, char32_t& c)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const unsigned char b = u[0];
    int nMore;
    char32_t minimum;
    if (b < 0x80) {
        c = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        nMore = 1; c = b & 0x1F; minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        nMore = 2; c = b & 0x0F; minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        nMore = 3; c = b & 0x07; minimum = 0x10000;
    } else {
        c = REPLACEMENT;
        return 1;
    }
    size_t i = 1;
    for (int k = 0; k < nMore; ++k, ++i) {
        // A byte that continues nothing is left for the next character.
        if (i >= n || (u[i] & 0xC0) != 0x80) {
            c = REPLACEMENT;
            return i;
        }
        c = (c << 6) | (u[i] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = REPLACEMENT;
    return i;
}

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
    for (size_t i = 0; i < strAnsi.size();) {
        char32_t c;
        i += Next(strAnsi.data() + i, strAnsi.size() - i, c);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::string CCodePage::Repair(const std::string& strAnsi)
{
    std::string out;
    out.reserve(strAnsi.size());
    for (size_t i = 0; i < strAnsi.size();) {
        char32_t c;
        const size_t n = Next(strAnsi.data() + i, strAnsi.size() - i, c);
        // A valid U+FFFD is written as itself, so the two cases need no telling apart.
        if (c == REPLACEMENT)
            AppendUtf8(out, REPLACEMENT);
        else
            out.append(strAnsi, i, n);
        i += n;
    }
    return out;
}
