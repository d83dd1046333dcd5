#include "service/places/TextFolding.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <cctype>

CTextFolding::CTextFolding() = default;

bool CTextFolding::BuildModel() const
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
    return BuildModel();
}

CTextFolding::~CTextFolding() = default;

std::string CTextFolding::Fold(const std::string& strText) const
{
    std::string strFolded;
    std::unique_ptr<icu::Transliterator> pTransliterator = Borrow();
    if (pTransliterator) {
        icu::UnicodeString text = icu::UnicodeString::fromUTF8(strText);
        pTransliterator->transliterate(text);
        GiveBack(std::move(pTransliterator));
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

std::unique_ptr<icu::Transliterator> CTextFolding::Borrow() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_spares.empty()) {
        std::unique_ptr<icu::Transliterator> pSpare = std::move(m_spares.back());
        m_spares.pop_back();
        return pSpare;
    }
    if (!BuildModel())
        return nullptr;
    // Copies are rare (one per thread that folds at once) and made under the
    // lock, so the model is only ever read by one of them.
    return std::unique_ptr<icu::Transliterator>(m_pTransliterator->clone());
}

void CTextFolding::GiveBack(std::unique_ptr<icu::Transliterator> pTransliterator) const
{
    if (!pTransliterator)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    // As many spares as threads have folded at once; a few dozen at most.
    if (m_spares.size() < 64)
        m_spares.push_back(std::move(pTransliterator));
}

std::string CTextFolding::Upper(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return strText;
}
