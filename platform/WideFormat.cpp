#include "platform/WideFormat.h"

#include "platform/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

enum Length { LEN_NONE, LEN_HH, LEN_H, LEN_L, LEN_LL, LEN_Z, LEN_J, LEN_T, LEN_BIG_L };

struct Spec
{
    std::string flags;
    int nWidth = -1;
    int nPrecision = -1;
    Length length = LEN_NONE;
    bool bWideLength = false;   // "l" or "w" given
    bool bNarrowLength = false; // "h" given
};

// The printf form of the spec with a given length text and conversion, for the
// numeric conversions that snprintf handles the same on every platform.
std::string NarrowSpec(const Spec& spec, const char* pszLength, char conversion)
{
    std::string out = "%" + spec.flags;
    if (spec.nWidth >= 0)
        out += std::to_string(spec.nWidth);
    if (spec.nPrecision >= 0)
        out += "." + std::to_string(spec.nPrecision);
    out += pszLength;
    out += conversion;
    return out;
}

template <class T>
void AppendNumber(std::wstring& out, const std::string& format, T value)
{
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (n < 0)
        return;
    std::string text;
    if (static_cast<size_t>(n) < sizeof buffer) {
        text.assign(buffer, static_cast<size_t>(n));
    } else {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        std::snprintf(big.data(), big.size(), format.c_str(), value);
        text.assign(big.data(), static_cast<size_t>(n));
    }
    // printf's output for numbers is plain ASCII.
    out.append(text.begin(), text.end());
}

void AppendPadded(std::wstring& out, const Spec& spec, std::wstring text)
{
    if (spec.nPrecision >= 0 && text.size() > static_cast<size_t>(spec.nPrecision))
        text.resize(static_cast<size_t>(spec.nPrecision));
    size_t nPad = spec.nWidth > 0 && text.size() < static_cast<size_t>(spec.nWidth)
        ? static_cast<size_t>(spec.nWidth) - text.size() : 0;
    bool bLeft = spec.flags.find('-') != std::string::npos;
    if (!bLeft)
        out.append(nPad, L' ');
    out += text;
    if (bLeft)
        out.append(nPad, L' ');
}

long long SignedArg(const Spec& spec, va_list& args)
{
    switch (spec.length) {
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

unsigned long long UnsignedArg(const Spec& spec, va_list& args)
{
    switch (spec.length) {
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
    std::wstring out = FormatV(pszFormat, args);
    va_end(args);
    return out;
}

std::wstring CWideFormat::FormatV(const wchar_t* pszFormat, va_list argsIn)
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
        Spec spec;
        while (*p && std::wcschr(L"-+ #0", *p))
            spec.flags += static_cast<char>(*p++);
        if (*p == L'*') {
            int n = va_arg(args, int);
            if (n < 0) {
                spec.flags += '-';
                n = -n;
            }
            spec.nWidth = n;
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            spec.nWidth = 0;
            while (*p >= L'0' && *p <= L'9')
                spec.nWidth = spec.nWidth * 10 + (*p++ - L'0');
        }
        if (*p == L'.') {
            ++p;
            spec.nPrecision = 0;
            if (*p == L'*') {
                int n = va_arg(args, int);
                spec.nPrecision = n < 0 ? -1 : n;
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9')
                    spec.nPrecision = spec.nPrecision * 10 + (*p++ - L'0');
            }
        }
        if (p[0] == L'h' && p[1] == L'h') { spec.length = LEN_HH; spec.bNarrowLength = true; p += 2; }
        else if (p[0] == L'h') { spec.length = LEN_H; spec.bNarrowLength = true; ++p; }
        else if (p[0] == L'l' && p[1] == L'l') { spec.length = LEN_LL; p += 2; }
        else if (p[0] == L'l') { spec.length = LEN_L; spec.bWideLength = true; ++p; }
        else if (p[0] == L'w') { spec.bWideLength = true; ++p; }
        else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') { spec.length = LEN_LL; p += 3; }
        else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') { p += 3; }
        else if (p[0] == L'z') { spec.length = LEN_Z; ++p; }
        else if (p[0] == L'j') { spec.length = LEN_J; ++p; }
        else if (p[0] == L't') { spec.length = LEN_T; ++p; }
        else if (p[0] == L'L') { spec.length = LEN_BIG_L; ++p; }

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
            bool bWide = conv == L's' ? !spec.bNarrowLength : spec.bWideLength;
            std::wstring text;
            if (bWide) {
                const wchar_t* psz = va_arg(args, const wchar_t*);
                text = psz ? psz : L"(null)";
            } else {
                const char* psz = va_arg(args, const char*);
                text = psz ? CCodePage::Decode(psz) : L"(null)";
            }
            AppendPadded(out, spec, text);
            break;
        }
        case L'c':
        case L'C': {
            bool bWide = conv == L'c' ? !spec.bNarrowLength : spec.bWideLength;
            std::wstring text;
            if (bWide) {
                text = static_cast<wchar_t>(va_arg(args, wint_t));
            } else {
                char c = static_cast<char>(va_arg(args, int));
                text = CCodePage::Decode(std::string(1, c));
            }
            spec.nPrecision = -1;
            AppendPadded(out, spec, text);
            break;
        }
        case L'd':
        case L'i':
            AppendNumber(out, NarrowSpec(spec, "ll", 'd'), SignedArg(spec, args));
            break;
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            AppendNumber(out, NarrowSpec(spec, "ll", static_cast<char>(conv)), UnsignedArg(spec, args));
            break;
        case L'e': case L'E': case L'f': case L'F':
        case L'g': case L'G': case L'a': case L'A':
            if (spec.length == LEN_BIG_L)
                AppendNumber(out, NarrowSpec(spec, "L", static_cast<char>(conv)), va_arg(args, long double));
            else
                AppendNumber(out, NarrowSpec(spec, "", static_cast<char>(conv)), va_arg(args, double));
            break;
        case L'p':
            AppendNumber(out, NarrowSpec(spec, "", 'p'), va_arg(args, void*));
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
