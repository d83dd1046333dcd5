#include "platform/WideFormat.h"

#include "platform/CodePage.h"
#include "platform/UserLocale.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

enum Length { LEN_NONE, LEN_HH, LEN_H, LEN_L, LEN_LL, LEN_Z, LEN_J, LEN_T, LEN_BIG_L };

struct Directive
{
    std::string flags;
    int nWidth = -1;
    int nPrecision = -1;
    Length length = LEN_NONE;
    bool bWideLength = false;   // "l" or "w" given
    bool bNarrowLength = false; // "h" given
};

// The printf form of the directive with a given length text and conversion, for the
// numeric conversions that snprintf handles the same on every platform.
std::string NarrowDirective(const Directive& directive, const char* pszLength, char conversion)
{
    std::string out = "%" + directive.flags;
    if (directive.nWidth >= 0)
        out += std::to_string(directive.nWidth);
    if (directive.nPrecision >= 0)
        out += "." + std::to_string(directive.nPrecision);
    out += pszLength;
    out += conversion;
    return out;
}

// snprintf in the locale given, on this thread only, whatever the process's is.
template <class T>
void AppendNumber(std::wstring& out, locale_t loc, const std::string& format, T value)
{
    const locale_t previous = loc ? uselocale(loc) : static_cast<locale_t>(0);
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    std::string text;
    if (n >= 0 && static_cast<size_t>(n) < sizeof buffer) {
        text.assign(buffer, static_cast<size_t>(n));
    } else if (n >= 0) {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        std::snprintf(big.data(), big.size(), format.c_str(), value);
        text.assign(big.data(), static_cast<size_t>(n));
    }
    if (previous)
        uselocale(previous);
    // A separator of the user's may be any character.
    out += CCodePage::Decode(text);
}

void AppendPadded(std::wstring& out, const Directive& directive, std::wstring text)
{
    if (directive.nPrecision >= 0 && text.size() > static_cast<size_t>(directive.nPrecision))
        text.resize(static_cast<size_t>(directive.nPrecision));
    size_t nPad = directive.nWidth > 0 && text.size() < static_cast<size_t>(directive.nWidth)
        ? static_cast<size_t>(directive.nWidth) - text.size() : 0;
    bool bLeft = directive.flags.find('-') != std::string::npos;
    if (!bLeft)
        out.append(nPad, L' ');
    out += text;
    if (bLeft)
        out.append(nPad, L' ');
}

long long SignedArg(const Directive& directive, va_list& args)
{
    switch (directive.length) {
    case LEN_HH: return static_cast<signed char>(va_arg(args, int));
    case LEN_H: return static_cast<short>(va_arg(args, int));
    case LEN_L: return va_arg(args, long);
    case LEN_LL: return va_arg(args, long long);
    case LEN_Z: return static_cast<long long>(va_arg(args, size_t));
    case LEN_J: return static_cast<long long>(va_arg(args, intmax_t));
    case LEN_T: return va_arg(args, ptrdiff_t);
    default: return va_arg(args, int);
    }
}

unsigned long long UnsignedArg(const Directive& directive, va_list& args)
{
    switch (directive.length) {
    case LEN_HH: return static_cast<unsigned char>(va_arg(args, unsigned int));
    case LEN_H: return static_cast<unsigned short>(va_arg(args, unsigned int));
    case LEN_L: return va_arg(args, unsigned long);
    case LEN_LL: return va_arg(args, unsigned long long);
    case LEN_Z: return va_arg(args, size_t);
    case LEN_J: return static_cast<unsigned long long>(va_arg(args, uintmax_t));
    case LEN_T: return static_cast<unsigned long long>(va_arg(args, ptrdiff_t));
    default: return va_arg(args, unsigned int);
    }
}

} // namespace

std::wstring CWideFormat::Format(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::wstring out = FormatIn(CUserLocale::Neutral(), pszFormat, args);
    va_end(args);
    return out;
}

std::wstring CWideFormat::FormatV(const wchar_t* pszFormat, va_list args)
{
    return FormatIn(CUserLocale::Neutral(), pszFormat, args);
}

std::wstring CWideFormat::FormatForUser(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::wstring out = FormatIn(CUserLocale::Get(), pszFormat, args);
    va_end(args);
    return out;
}

std::wstring CWideFormat::FormatIn(locale_t loc, const wchar_t* pszFormat, va_list argsIn)
{
    std::wstring out;
    if (!pszFormat)
        return out;
    va_list args;
    va_copy(args, argsIn);
    const wchar_t* p = pszFormat;
    while (*p) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* pStart = p++;
        Directive directive;
        while (*p && std::wcschr(L"-+ #0", *p))
            directive.flags += static_cast<char>(*p++);
        if (*p == L'*') {
            int n = va_arg(args, int);
            if (n < 0) {
                directive.flags += '-';
                n = -n;
            }
            directive.nWidth = n;
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            directive.nWidth = 0;
            while (*p >= L'0' && *p <= L'9')
                directive.nWidth = directive.nWidth * 10 + (*p++ - L'0');
        }
        if (*p == L'.') {
            ++p;
            directive.nPrecision = 0;
            if (*p == L'*') {
                int n = va_arg(args, int);
                directive.nPrecision = n < 0 ? -1 : n;
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9')
                    directive.nPrecision = directive.nPrecision * 10 + (*p++ - L'0');
            }
        }
        if (p[0] == L'h' && p[1] == L'h') { directive.length = LEN_HH; directive.bNarrowLength = true; p += 2; }
        else if (p[0] == L'h') { directive.length = LEN_H; directive.bNarrowLength = true; ++p; }
        else if (p[0] == L'l' && p[1] == L'l') { directive.length = LEN_LL; p += 2; }
        else if (p[0] == L'l') { directive.length = LEN_L; directive.bWideLength = true; ++p; }
        else if (p[0] == L'w') { directive.bWideLength = true; ++p; }
        else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') { directive.length = LEN_LL; p += 3; }
        else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') { p += 3; }
        else if (p[0] == L'z') { directive.length = LEN_Z; ++p; }
        else if (p[0] == L'j') { directive.length = LEN_J; ++p; }
        else if (p[0] == L't') { directive.length = LEN_T; ++p; }
        else if (p[0] == L'L') { directive.length = LEN_BIG_L; ++p; }

        wchar_t conv = *p;
        if (!conv) {
            out.append(pStart, p);
            break;
        }
        ++p;
        switch (conv) {
        case L'%':
            out += L'%';
            break;
        case L's':
        case L'S': {
            bool bWide = conv == L's' ? !directive.bNarrowLength : directive.bWideLength;
            std::wstring text;
            if (bWide) {
                const wchar_t* psz = va_arg(args, const wchar_t*);
                text = psz ? psz : L"(null)";
            } else {
                const char* psz = va_arg(args, const char*);
                text = psz ? CCodePage::Decode(psz) : L"(null)";
            }
            AppendPadded(out, directive, text);
            break;
        }
        case L'c':
        case L'C': {
            bool bWide = conv == L'c' ? !directive.bNarrowLength : directive.bWideLength;
            std::wstring text;
            if (bWide) {
                text = static_cast<wchar_t>(va_arg(args, wint_t));
            } else {
                char c = static_cast<char>(va_arg(args, int));
                text = CCodePage::Decode(std::string(1, c));
            }
            directive.nPrecision = -1;
            AppendPadded(out, directive, text);
            break;
        }
        case L'd':
        case L'i':
            AppendNumber(out, loc, NarrowDirective(directive, "ll", 'd'), SignedArg(directive, args));
            break;
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            AppendNumber(out, loc, NarrowDirective(directive, "ll", static_cast<char>(conv)), UnsignedArg(directive, args));
            break;
        case L'e': case L'E': case L'f': case L'F':
        case L'g': case L'G': case L'a': case L'A':
            if (directive.length == LEN_BIG_L)
                AppendNumber(out, loc, NarrowDirective(directive, "L", static_cast<char>(conv)), va_arg(args, long double));
            else
                AppendNumber(out, loc, NarrowDirective(directive, "", static_cast<char>(conv)), va_arg(args, double));
            break;
        case L'p':
            AppendNumber(out, loc, NarrowDirective(directive, "", 'p'), va_arg(args, void*));
            break;
        case L'n':
            // Writing through a pointer taken from the arguments is never needed here.
            (void)va_arg(args, void*);
            break;
        default:
            out.append(pStart, p);
            break;
        }
    }
    va_end(args);
    return out;
}
