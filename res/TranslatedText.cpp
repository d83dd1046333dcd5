#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "platform/Translate.h"

#include <set>
#include <string>

const wchar_t* TranslatedText(const wchar_t* pszEnglish)
{
    if (pszEnglish == nullptr || *pszEnglish == L'\0')
        return pszEnglish;
    // A set's elements never move; installing again (in another language)
    // only adds the texts it has not seen.
    static std::set<std::wstring> s_texts;
    return s_texts.insert(Tr(pszEnglish)).first->c_str();
}

std::wstring Filled(std::wstring strText, const std::wstring& strMark, const std::wstring& strValue)
{
    for (size_t pos = strText.find(strMark); pos != std::wstring::npos;
         pos = strText.find(strMark, pos + strValue.size()))
        strText.replace(pos, strMark.size(), strValue);
    return strText;
}

void AddStrings(std::initializer_list<StringEntry> entries)
{
    for (const StringEntry& e : entries)
        CResources::AddString(static_cast<UINT>(e.nID), e.strText);
}
