#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <mutex>
#include <string>

U_NAMESPACE_BEGIN
class Transliterator;
U_NAMESPACE_END

// Folds a UTF-8 text to the form names are compared in: Latin letters without
// their marks, lower case, other scripts spelled in Latin, runs of white space
// made one blank and the ends trimmed. "Zürich" and "ZURICH" both become
// "zurich", "São Paulo" becomes "sao paulo".
class CTextFolding
{
public:
    CTextFolding();
    ~CTextFolding();
    CTextFolding(const CTextFolding&) = delete;
    CTextFolding& operator=(const CTextFolding&) = delete;

    // False when ICU could not build the folding; Fold then only lowers ASCII.
    bool IsValid() const;
    // Safe to call from any thread. Invalid UTF-8 is folded as U+FFFD.
    std::string Fold(const std::string& strText) const;
    // Upper case byte by byte, as station IDs are written.
    static std::string Upper(std::string strText);

private:
    // Builds the transliterator the first time; with m_mutex held.
    bool Build() const;

    mutable std::unique_ptr<icu::Transliterator> m_pTransliterator;
    mutable bool m_bBuilt = false;
    mutable std::mutex m_mutex;   // a transliterator is not to be shared unguarded
};
