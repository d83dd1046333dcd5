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
    const auto* p = reinterpret_cast<const unsigned char*>(strAnsi.data());
    const size_t n = strAnsi.size();
    size_t i = 0;
    while (i < n) {
        unsigned char b = p[i];
        int nMore;
        char32_t c;
        char32_t minimum;
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            nMore = 1; c = b & 0x1F; minimum = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            nMore = 2; c = b & 0x0F; minimum = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            nMore = 3; c = b & 0x07; minimum = 0x10000;
        } else {
            out += static_cast<wchar_t>(REPLACEMENT);
            ++i;
            continue;
        }
        // A truncated or broken sequence replaces only the bytes read so far,
        // so the next valid character is not swallowed.
        size_t j = i + 1;
        bool bOk = true;
        for (int k = 0; k < nMore; ++k, ++j) {
            if (j >= n || (p[j] & 0xC0) != 0x80) {
                bOk = false;
                break;
            }
            c = (c << 6) | (p[j] & 0x3F);
        }
        if (!bOk || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += static_cast<wchar_t>(REPLACEMENT);
            i = j;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i = j;
    }
    return out;
}
