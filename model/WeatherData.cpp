#include "model/WeatherData.h"

#include "platform/CodePage.h"
#include "platform/DataFolder.h"
#include "store/ClassUnicode.h"
#include "store/RegularFile.h"
#include "store/SearchAnswer.h"
#include "store/ServiceConfig.h"
#include "store/StationFile.h"
#include "store/XmlFile.h"

#include <tinyxml.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// RFC 3986 percent-encoding of the text's UTF-8 bytes; only the unreserved
// characters stay as they are.
std::wstring PercentEncode(const std::wstring& strText)
{
    static const wchar_t s_hex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (unsigned char c : CCodePage::Encode(strText)) {
        bool bUnreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
            || c == '-' || c == '.' || c == '_' || c == '~';
        if (bUnreserved) {
            out += static_cast<wchar_t>(c);
        } else {
            out += L'%';
            out += s_hex[c >> 4];
            out += s_hex[c & 0x0F];
        }
    }
    return out;
}

// A forecast exists when its file can be opened for reading; a folder, a pipe
// or a device at its path holds none.
bool IsReadableFile(const std::wstring& strPath)
{
    ClassUnicode conv;
    int fd = CRegularFile::Open(conv.ToAnsi(strPath), O_RDONLY);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

} // namespace

CWeatherData::CWeatherData() : m_settings(PrepareFolder())
{
}

CSettings CWeatherData::PrepareFolder()
{
    m_strFolder = CDataFolder::Get();
    m_strSearchFile = m_strFolder + L"/search_stations.dat";
    LoadStations();
    ClassUnicode conv;
    mkdir(conv.ToAnsi(m_strFolder + L"/forecasts"), 0777);
    return CSettings();
}

std::wstring CWeatherData::StationsFile() const
{
    return m_strFolder + L"/stations.dat";
}

void CWeatherData::LoadStations()
{
    CStationFile::Load(StationsFile(), m_stations);
}

void CWeatherData::SaveStations()
{
    TiXmlDocument doc;
    TiXmlElement root("stations");
    for (int i = 0; i < m_stations.GetCount(); ++i)
        m_stations.GetAt(i)->WriteXml(&root, "station");
    doc.InsertEndChild(root);
    CXmlFile::Save(doc, StationsFile());
}

CStation* CWeatherData::FindStation(const std::wstring& strID) const
{
    for (int i = 0; i < m_stations.GetCount(); ++i) {
        if (m_stations.GetAt(i)->m_strID == strID)
            return m_stations.GetAt(i);
    }
    return nullptr;
}

void CWeatherData::DeleteStation(int nIndex)
{
    CStation* pStation = m_stations.GetAt(nIndex);
    if (!pStation)
        return;
    if (IsSafeFileID(pStation->m_strID)) {
        ClassUnicode conv;
        unlink(conv.ToAnsi(DailyFile(pStation->m_strID)));
        unlink(conv.ToAnsi(HourlyFile(pStation->m_strID)));
    }
    m_stations.RemoveAt(nIndex);
}

bool CWeatherData::IsSafeFileID(const std::wstring& strID)
{
    if (strID.empty() || strID.find(L"..") != std::wstring::npos)
        return false;
    for (wchar_t c : strID) {
        if (c == L'/' || c == L'\\' || c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return false;
    }
    return true;
}

std::wstring CWeatherData::ForecastFile(const std::wstring& strID, const wchar_t* pszSuffix) const
{
    if (!IsSafeFileID(strID))
        return std::wstring();
    return m_strFolder + L"/forecasts/" + strID + pszSuffix;
}

std::wstring CWeatherData::DailyFile(const std::wstring& strID) const
{
    return ForecastFile(strID, L"_d.dat");
}

std::wstring CWeatherData::HourlyFile(const std::wstring& strID) const
{
    return ForecastFile(strID, L"_h.dat");
}

void CWeatherData::BuildRequest(int nKind, const std::wstring& strArgument,
                                std::wstring& strURL, std::wstring& strTarget) const
{
    strURL.clear();
    if (nKind != DOWNLOAD_SEARCH && nKind != DOWNLOAD_DAILY && nKind != DOWNLOAD_HOURLY)
        return;
    CServiceConfig config;
    if (nKind == DOWNLOAD_SEARCH) {
        strURL = L"http://" + config.m_strSearchHost + L"/search/search?where=" + PercentEncode(strArgument);
        strTarget = m_strSearchFile;
        return;
    }
    if (!IsSafeFileID(strArgument)) {
        strTarget.clear();
        return;
    }
    // The ID is a path segment: encoding keeps a '?', '#' or '%' in it from
    // changing the request, and leaves every well-formed ID as it is. The
    // trailing space is the service's own form; the HTTP layer trims it.
    if (nKind == DOWNLOAD_DAILY) {
        strURL = L"http://" + config.m_strFeedHost + L"/weather/local/" + PercentEncode(strArgument) + L"?dayf=10 ";
        strTarget = DailyFile(strArgument);
    } else {
        strURL = L"http://" + config.m_strFeedHost + L"/weather/local/" + PercentEncode(strArgument) + L"?hbhf=72 ";
        strTarget = HourlyFile(strArgument);
    }
}

bool CWeatherData::HasDailyFile(const std::wstring& strID) const
{
    return IsReadableFile(DailyFile(strID));
}

bool CWeatherData::HasHourlyFile(const std::wstring& strID) const
{
    return IsReadableFile(HourlyFile(strID));
}

void CWeatherData::LoadDailyForecast(const std::wstring& strID)
{
    std::wstring path = DailyFile(strID);
    if (!path.empty())
        m_daily.Load(path);
}

void CWeatherData::LoadHourlyForecast(const std::wstring& strID)
{
    std::wstring path = HourlyFile(strID);
    if (!path.empty())
        m_hourly.Load(path);
}

void CWeatherData::LoadSearchResults()
{
    CSearchAnswer::Load(m_strSearchFile, m_searchResults);
}
