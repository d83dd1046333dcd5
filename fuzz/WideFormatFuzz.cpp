// The wide formatter: the input, read as UTF-8, is the format. Its arguments
// are slots of one kind that every conversion may read on x86-64: a pointer to
// text that is valid both as wide and as 8-bit text, which the integer
// conversions read as a number and the floating ones as bits. Up to eight
// directives, each taking at most a 16-byte value, stay within the slots
// given. Widths and precisions stay small: "*" takes the slot's number, far
// too large, so it becomes a digit, and digit runs are cut to four, since a
// width of a billion asks for a gigabyte of text rather than showing a fault.
#include "platform/CodePage.h"
#include "platform/WideFormat.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring input = CCodePage::Decode(std::string(reinterpret_cast<const char*>(data), size));
    std::wstring format;
    int nPercent = 0;
    int nDigits = 0;
    for (wchar_t c : input) {
        if (c == L'%' && ++nPercent > 8)
            break;
        if (c == L'*')
            c = L'9';
        nDigits = c >= L'0' && c <= L'9' ? nDigits + 1 : 0;
        if (nDigits <= 4)
            format += c;
    }
    static const wchar_t s_text[] = L"Ab";
    const wchar_t* a = s_text;
    CWideFormat::Format(format.c_str(), a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a);
    return 0;
}
