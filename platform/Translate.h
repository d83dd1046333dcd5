#pragma once

#include <string>

// Marks a text for the catalogue where it cannot be translated at once (static tables).
#define TR_NOOP(text) text
// The same for a text that Tr translates in a context (TrC's first argument).
#define TRC_NOOP(context, text) text

// Binds the program's text domain to its catalogues; call once at start-up, before any text is shown.
void InitTranslations();
// The text in the user's language, or the English text itself when the catalogue has none. UTF-8 in.
std::wstring Tr(const char* pszEnglish);
// The same for a wide English text, as the resource tables hold them.
std::wstring Tr(const wchar_t* pszEnglish);
// The same for a short text whose meaning depends on where it is shown: the
// context tells the translator which of its meanings this one is.
std::wstring TrC(const char* pszContext, const char* pszEnglish);
// The text for n things: pszOne for one, pszMany otherwise in English; the
// catalogue gives the language's own forms.
std::wstring TrN(const char* pszOne, const char* pszMany, unsigned long n);
