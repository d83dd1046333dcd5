#include "platform/WideFormat.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::wstring F(const wchar_t* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::wstring out = CWideFormat::FormatV(pszFormat, args);
    va_end(args);
    return out;
}

TEST(WideFormat, ConversionsHaveThePlatformMeaning)
{
    struct Case { std::wstring got; const wchar_t* expected; };
    const Case cases[] = {
        {F(L"plain text"), L"plain text"},
        {F(L"%s", L"wide \u00e9"), L"wide \u00e9"},
        {F(L"%S", "8-bit \xc3\xa9"), L"8-bit \u00e9"},
        {F(L"%hs|%ls|%ws", "h", L"l", L"w"), L"h|l|w"},
        {F(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)"},
        {F(L"[%6s][%-6s][%.2s]", L"ab", L"ab", L"abcdef"), L"[    ab][ab    ][ab]"},
        {F(L"%c%C%hc", L'\u00e9', 'x', 'y'), L"\u00e9xy"},
        {F(L"%d %i %u", -5, 7, 4000000000u), L"-5 7 4000000000"},
        {F(L"%x %X %#x %o", 255, 255, 255, 8), L"ff FF 0xff 10"},
        {F(L"%02d:%02d:%02d", 9, 5, 3), L"09:05:03"},
        {F(L"%5d|%-5d|%+d|%05d", 42, 42, 42, -42), L"   42|42   |+42|-0042"},
        {F(L"%*d|%-*d|%.*f", 4, 1, 3, 2, 2, 3.14159), L"   1|2  |3.14"},
        {F(L"%ld %lu %lld", -1L, ULONG_MAX, LLONG_MIN),
         L"-1 18446744073709551615 -9223372036854775808"},
        {F(L"%I64d %zu %hd", 1LL << 40, static_cast<size_t>(12), 70000), L"1099511627776 12 4464"},
        {F(L"%f %.1f %g %e", 1.5, 2.25, 0.0001, 1234.5), L"1.500000 2.2 0.0001 1.234500e+03"},
        {F(L"100%% done"), L"100% done"},
        {F(L"%q stays"), L"%q stays"},
        {F(L"cut at the end %"), L"cut at the end %"},
        {F(L"%s handle %08X result %d\n", L"InternetOpenUrl", 0xCC0004u, 1),
         L"InternetOpenUrl handle 00CC0004 result 1\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(WideFormat, LongTextIsNotCut)
{
    std::wstring longText(5000, L'x');
    EXPECT_EQ(CWideFormat::Format(L"<%s>", longText.c_str()), L"<" + longText + L">");
    EXPECT_EQ(CWideFormat::Format(L"%300d", 1).size(), 300u);
    EXPECT_EQ(CWideFormat::Format(nullptr), L"");
}

} // namespace
