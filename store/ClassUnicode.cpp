#include "store/ClassUnicode.h"

#include "platform/CodePage.h"

const char* ClassUnicode::ToAnsi(const wchar_t* pszWide)
{
    m_wide.clear();
    if (!pszWide) {
        m_ansi.clear();
        return nullptr;
    }
    m_ansi = CCodePage::Encode(pszWide);
    return m_ansi.c_str();
}

const char* ClassUnicode::ToAnsi(const std::wstring& strWide)
{
    m_wide.clear();
    m_ansi = CCodePage::Encode(strWide);
    return m_ansi.c_str();
}

const wchar_t* ClassUnicode::ToWide(const char* pszAnsi)
{
    m_ansi.clear();
    if (!pszAnsi) {
        m_wide.clear();
        return nullptr;
    }
    m_wide = CCodePage::Decode(pszAnsi);
    return m_wide.c_str();
}

const wchar_t* ClassUnicode::ToWide(const std::string& strAnsi)
{
    m_ansi.clear();
    m_wide = CCodePage::Decode(strAnsi);
    return m_wide.c_str();
}
