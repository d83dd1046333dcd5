#include "service/places/TextFolding.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <cctype>

CTextFolding::CTextFolding()
{
    UErrorCode status = U_ZERO_ERROR;
    m_pTransliterator.reset(icu::Transliterator::createInstance(
        "Any-Latin; Latin-ASCII; Lower", UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        m_pTransliterator.reset();
}

CTextFolding::~CTextFolding() = default;

std::string CTextFolding::Fold(const std::string& strText) const
{
    std::string strFolded;
    if (m_pTransliterator) {
        icu::UnicodeString text = icu::UnicodeString::fromUTF8(strText);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_pTransliterator->transliterate(text);
        }
        text.toUTF8String(strFolded);
    } else {
        strFolded = strText;
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
