#include "store/ForecastBase.h"

#include "store/ClassUnicode.h"
#include "store/FeedReader.h"
#include "store/XmlFile.h"
#include "platform/VarDate.h"

#include <tinyxml.h>

namespace {

void ReadTime(const TiXmlElement* pLoc, const char* pszName, CDateTime& dt)
{
    const char* pszText;
    if (CFeedReader::ChildText(pLoc, pszName, pszText)) {
        ClassUnicode conv;
        dt.ParseDateTime(conv.ToWide(pszText), VAR_TIMEVALUEONLY, LOCALE_USER_DEFAULT);
    }
}

} // namespace

void CForecastBase::Load(const std::wstring& strPath)
{
    // The guarded loader: a hostile file counts as not well-formed instead of
    // reaching the library's parser.
    TiXmlDocument doc;
    if (CXmlFile::Load(doc, strPath))
        Read(doc);
}

const TiXmlElement* CForecastBase::ReadSection(const TiXmlDocument& doc, const char* pszSection)
{
    const TiXmlElement* pWeather = doc.FirstChildElement("weather");
    if (!pWeather)
        return nullptr;

    if (const TiXmlElement* pLoc = pWeather->FirstChildElement("loc")) {
        const char* pszText;
        ClassUnicode conv;
        if (CFeedReader::ChildText(pLoc, "dnam", pszText))
            m_strLocation = pszText ? conv.ToWide(pszText) : L"";
        ReadTime(pLoc, "tm", m_dtLocalTime);
        m_nZone = CFeedReader::ChildText(pLoc, "zone", pszText) ? CFeedReader::Zone(pszText) : 0;
        ReadTime(pLoc, "sunr", m_dtSunrise);
        ReadTime(pLoc, "suns", m_dtSunset);
    }

    const TiXmlElement* pSection = pWeather->FirstChildElement(pszSection);
    if (!pSection)
        return nullptr;
    const char* pszUpdate;
    if (CFeedReader::ChildText(pSection, "lsup", pszUpdate)) {
        // "12/10/26 1:00 PM EST": the zone name after the time is not for the
        // parser, so the text ends with the first "AM" or, failing that, "PM".
        ClassUnicode conv;
        std::wstring strUpdate = pszUpdate ? conv.ToWide(pszUpdate) : L"";
        size_t nPos = strUpdate.find(L"AM");
        if (nPos == std::wstring::npos)
            nPos = strUpdate.find(L"PM");
        if (nPos != std::wstring::npos)
            strUpdate.resize(nPos + 2);
        m_dtLastUpdate.ParseDateTime(strUpdate.c_str(), 0, LOCALE_EN_US);
    }
    return pSection;
}
