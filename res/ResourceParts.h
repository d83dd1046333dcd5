#pragma once

#include <initializer_list>
#include <string>

// The pieces of CAppResources::Install, one per kind of resource.
void InstallStringTable();
void InstallAccessibleStrings();
void InstallMenus();
void InstallDialogTemplates();
void InstallBitmaps();   // generated from res/bitmaps at configure time

// One text of the string table, already in the user's language.
struct StringEntry
{
    int nID;
    std::wstring strText;
};
void AddStrings(std::initializer_list<StringEntry> entries);

// A template's text in the user's language, kept for the program's lifetime so
// that the translated copies of the static templates may point at it; null and
// empty texts stay as they are.
const wchar_t* TranslatedText(const wchar_t* pszEnglish);
// A translated text with every strMark ("{service}", ...) replaced by strValue:
// texts that name the forecast service, whose name is configured, carry such
// a mark so that a translation may put the name where its language wants it.
std::wstring Filled(std::wstring strText, const std::wstring& strMark, const std::wstring& strValue);
