#include "platform/DebugOutput.h"

#include "platform/CodePage.h"

#include <cstdio>
#include <string>

void OutputDebugStringW(const wchar_t* pszText)
{
    if (!pszText)
        return;
    std::string text = CCodePage::Encode(pszText);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}
