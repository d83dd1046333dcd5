#include "net/DownloadOutcome.h"

#include "model/WeatherData.h"
#include "platform/Resources.h"
#include "platform/WideFormat.h"
#include "res/Resource.h"

std::wstring CDownloadOutcome::Words(int nKind, const std::wstring& strArgument) const
{
    auto text = [](UINT nID) { return CResources::LoadString(nID); };
    switch (m_nReason) {
    case STORED:
    case CANCELLED:
        return L"";
    case UNREACHABLE:
        return text(IDS_FAIL_UNREACHABLE);
    case TIMED_OUT:
        return text(IDS_FAIL_TIMED_OUT);
    case TOO_SLOW:
        return text(IDS_FAIL_TOO_SLOW);
    case UNKNOWN_STATION:
        return CWideFormat::Format(text(IDS_FAIL_UNKNOWN_STATION).c_str(), strArgument.c_str());
    case HTTP_ERROR:
        // A gateway's statuses: the service answered, but the forecasts' source
        // behind it did not, which is what the user needs to hear (the service
        // inside the program names its source, and is never the one at fault).
        if (m_nStatus == 502)
            return CWideFormat::Format(text(IDS_FAIL_NO_SOURCE).c_str(), std::to_wstring(m_nStatus).c_str());
        if (m_nStatus == 504)
            return text(IDS_FAIL_TIMED_OUT);
        return CWideFormat::Format(text(IDS_FAIL_HTTP_ERROR).c_str(), std::to_wstring(m_nStatus).c_str());
    case NOT_AN_ANSWER:
        return text(nKind == DOWNLOAD_SEARCH ? IDS_FAIL_NOT_A_SEARCH : IDS_FAIL_NOT_A_FORECAST);
    case TOO_LARGE:
        return text(IDS_FAIL_TOO_LARGE);
    case CUT_SHORT:
        return text(IDS_FAIL_CUT_SHORT);
    case NOT_SAVED:
        return text(IDS_FAIL_NOT_SAVED);
    }
    return L"";
}
