#include "service/places/TextFolding.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <cctype>

CTextFolding::CTextFolding() = default;

bool CTextFolding::Build() const
{
    // Built at the first fold: it loads a few megabytes of ICU's tables, which
    // a program that starts the service inside itself pays only once it asks.
    if (!m_bBuilt) {
        m_bBuilt = true;
        UErrorCode status = U_ZERO_ERROR;
        m_pTransliterator.reset(icu::Transliterator::createInstance(
            "Any-Latin; Latin-ASCII; Lower", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_pTransliterator.reset();
    }
    return m_pTransliterator != nullptr;
}

bool CTextFolding::IsValid() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return Build();
}

CTextFolding::~CTextFolding() = default;

std::string CTextFolding::Fold(const std::string& strText) const
{
    std::string strFolded = strText;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(strText);
    bool bFolded = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (Build()) {
            m_pTransliterator->transliterate(text);
            bFolded = true;
        }
    }
    if (bFolded) {
        strFolded.clear();
        text.toUTF8String(strFolded);
    }

    std::string strOut;
    bool bBlank = false;
    for (char ch : strFolded) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (std::isspace(c)) {
            bBlank = !strOut.empty();
            continue;
        }
        if (bBlank)
            strOut += ' ';
        bBlank = false;
        strOut += static_cast<char>(std::tolower(c));
    }
    return strOut;
}

std::string CTextFolding::Upper(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return strText;
}
