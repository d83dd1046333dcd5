// What a download writes into the diagnostic log, and what the dialog shows
// of the connection manager's and the HTTP layer's statuses.

#include "DownloadTestSetup.h"
#include "platform/testing/ScriptedConnMgr.h"
#include "platform/testing/FakeDialUp.h"

#include "net/Connection.h"
#include "platform/Ras.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace {

// '#' stands for one hex digit and '*' for any run of characters.
bool Matches(const char* pszText, const char* pszPattern)
{
    if (*pszPattern == '\0')
        return *pszText == '\0';
    if (*pszPattern == '*')
        return Matches(pszText, pszPattern + 1) || (*pszText && Matches(pszText + 1, pszPattern));
    if (*pszText == '\0')
        return false;
    if (*pszPattern == '#')
        return std::isxdigit(static_cast<unsigned char>(*pszText)) && Matches(pszText + 1, pszPattern + 1);
    return *pszText == *pszPattern && Matches(pszText + 1, pszPattern + 1);
}

void ExpectLines(const std::vector<std::string>& lines, const std::vector<std::string>& patterns)
{
    ASSERT_EQ(lines.size(), patterns.size()) << ::testing::PrintToString(lines);
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(Matches(lines[i].c_str(), patterns[i].c_str())) << lines[i] << "\n  is not\n" << patterns[i];
}

// The log's lines without their time stamps, split by the thread that writes
// them: the worker (and the dialog's start), the dialog's status handler, and
// the HTTP layer's callback. Entries of different threads may interleave
// between a stamp and its text, so the stamps are taken out first.
struct LOGLINES
{
    std::vector<std::string> worker;
    std::vector<std::string> status;
    std::vector<std::string> callback;
    size_t nStamps = 0;
    size_t nLines = 0;
};

// "[hh:mm:ss] " at that place.
bool IsStamp(const std::string& strText, size_t at)
{
    static const char SHAPE[] = "[##:##:##] ";
    if (strText.size() - at < sizeof SHAPE - 1)
        return false;
    for (size_t i = 0; i + 1 < sizeof SHAPE; ++i) {
        char c = strText[at + i];
        if (SHAPE[i] == '#' ? !std::isdigit(static_cast<unsigned char>(c)) : c != SHAPE[i])
            return false;
    }
    return true;
}

LOGLINES SplitLog(const std::string& strText)
{
    LOGLINES log;
    std::string unstamped;
    for (size_t at = 0; at < strText.size();) {
        if (IsStamp(strText, at)) {
            ++log.nStamps;
            at += 11;
        } else {
            unstamped += strText[at++];
        }
    }
    std::istringstream in(unstamped);
    std::string line;
    while (std::getline(in, line)) {
        ++log.nLines;
        if (line.rfind("InternetStatus : ", 0) == 0 || line.rfind("m_hHttpFile = ", 0) == 0) {
            // Each pending read completes with a notice of its own.
            if (log.callback.empty() || line != log.callback.back() || line != "InternetStatus : Request complete, ")
                log.callback.push_back(line);
        } else if (line.rfind("Status = ", 0) == 0) {
            log.status.push_back(line);
        } else if (line != "Wait for receive...") {   // only when the first read had to wait
            log.worker.push_back(line);
        }
    }
    return log;
}

std::vector<std::string> WorkerLines(const std::string& strURL)
{
    const std::string proxySize = std::to_string(sizeof(PROXY_CONFIG));
    return {
        "DoDownload",
        "s_DownloadThread *",
        "BEGIN Thread",
        "0x00000000 = ConnMgrMapURL(L'http://www.example.com/', &(ci.guidDestNet) (0x########), &dwIndex (0x########))",
        "0x00000000 = ConnMgrEstablishConnectionSync(&ci (0x######## ), &hConnection (0x########), 15000, "
        "&dwStatus (0x########))",
        "hConnection = 0x########, dwStatus = 0x00000010",
        "ConnMgrProviderMessage(hConnection (0x########),&IID_ConnPrv_IProxyExtension, NULL, 0, 0, "
        "&pcProxy (0x########), " + proxySize + ")",
        "WaitForSingleObject(m_hEventStatusConnected,INFINITE)...",
        "WaitForSingleObject OK",
        "hOpen (0x########) = InternetOpen('anonymous', 0x00000001, , NULL,INTERNET_FLAG_ASYNC)",
        "InternetOpen OK",
        "InternetOpenUrl(hOpen (0x########), url (" + strURL + "),NULL,0,INTERNET_FLAG_RELOAD, this (0x########))",
        "Wait for handle create...",
        "Wait for request complete...",
        "InternetOpenUrl OK",
        "Download... (*.## Kb)",
        "InternetReadFileExA(m_hHttpFile (0x########), &ib (0x########) ,IRF_ASYNC, this (0x########)",
        "Done (*.## Kb downloaded)",
        "InternetCloseHandle(m_hHttpFile (0x########))...",
        "InternetCloseHandle(hOpen (0x########))...",
        "ConnMgrReleaseConnection(hConnection (0x########), 0)",
        "exit:",
        "END Thread",
    };
}

const std::vector<std::string> CALLBACK_LINES = {
    "m_hHttpFile = 0x########",
    "InternetStatus : Handle created, ",
    "InternetStatus : Resolving name..., ",
    "InternetStatus : Name resolved, IP : 127.0.0.1",
    "InternetStatus : Connecting to server..., IP : 127.0.0.1",
    "InternetStatus : Connected to server, IP : 127.0.0.1",
    "InternetStatus : Sending request..., ",
    "InternetStatus : Request sent, * bytes",
    "InternetStatus : Receiving response..., ",
    "InternetStatus : Response received, * bytes",
    "InternetStatus : Request complete, ",
    "InternetStatus : Handle closing, ",
};

template <typename T>
std::vector<T> Twice(const std::vector<T>& first, const std::vector<T>& second)
{
    std::vector<T> both = first;
    both.insert(both.end(), second.begin(), second.end());
    return both;
}

// The hexadecimal value after the marker in the lines that have it.
std::vector<std::string> ValuesAfter(const std::vector<std::string>& lines, const std::string& strMarker)
{
    std::vector<std::string> values;
    for (const std::string& line : lines) {
        size_t at = line.find(strMarker);
        if (at != std::string::npos)
            values.push_back(line.substr(at + strMarker.size(), 8));
    }
    return values;
}

bool HasPair(const std::vector<std::string>& lines, const std::string& strFirst, const std::string& strSecond)
{
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == strFirst && lines[i + 1] == strSecond)
            return true;
    }
    return false;
}

class DownloadLog : public DownloadTest
{
};

TEST_F(DownloadLog, TwoDownloadsInARowTraceEveryStepOfTheirOwn)
{
    CLogCapture log(m_folder, m_log);
    ASSERT_EQ(Download(DOWNLOAD_DAILY, s_strStation), IDOK);
    ASSERT_EQ(Download(DOWNLOAD_HOURLY, s_strStation), IDOK);

    const std::string text = log.Text();
    LOGLINES lines = SplitLog(text);
    EXPECT_EQ(lines.nStamps, lines.nLines) << text;
    const std::string base = "http://" + s_strHost + StationPath();
    ExpectLines(lines.worker, Twice(WorkerLines(base + "?dayf=10 "), WorkerLines(base + "?hbhf=72 ")));
    ExpectLines(lines.callback, Twice(CALLBACK_LINES, CALLBACK_LINES));
    EXPECT_EQ(lines.status, Twice<std::string>({"Status = Attempting to connect", "Status = Connection is up"},
                                               {"Status = Attempting to connect", "Status = Connection is up"}));

    // Two connections, each given back, and two open handles with a request each.
    std::vector<std::string> connections = ValuesAfter(lines.worker, "hConnection = 0x");
    EXPECT_EQ(ValuesAfter(lines.worker, "ConnMgrReleaseConnection(hConnection (0x"), connections);
    std::vector<std::string> opened = ValuesAfter(lines.worker, "hOpen (0x");
    ASSERT_EQ(opened.size(), 6u);
    EXPECT_NE(opened[0], opened[3]);
    std::vector<std::string> requests = ValuesAfter(lines.callback, "m_hHttpFile = 0x");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0], requests[1]);
    EXPECT_EQ(ValuesAfter(lines.worker, "InternetCloseHandle(m_hHttpFile (0x"), requests);
}

TEST_F(DownloadLog, StatusesOutsideTheTablesEmptyTheirLines)
{
    CLogCapture log(m_folder, m_log);
    // The worker waits in the connection manager meanwhile; its own texts
    // reach the lines only when the events run.
    CONNMGRSCRIPT slow;
    slow.dwDelayMs = 200;
    CScriptedConnMgr::Use(slow);
    std::vector<std::wstring> shown;
    EXPECT_EQ(Download(DOWNLOAD_DAILY, s_strStation, [&](DOWNLOADVIEW& view) {
                  view.pDlg->SendMessage(WM_CONNMGR_STATUS, CONNMGR_STATUS_WAITINGFORRESOURCE);
                  shown.push_back(view.Status());
                  view.pDlg->SendMessage(WM_CONNMGR_STATUS, 0x99);
                  shown.push_back(view.Status());
                  CDownloadJob::OnInternetStatus(nullptr, reinterpret_cast<DWORD_PTR>(&view.pDlg->m_job),
                                                 INTERNET_STATUS_SENDING_REQUEST, nullptr, 0);
                  shown.push_back(view.InternetStatus());
                  CDownloadJob::OnInternetStatus(nullptr, reinterpret_cast<DWORD_PTR>(&view.pDlg->m_job), 999, nullptr, 0);
                  shown.push_back(view.InternetStatus());
                  view.RunToEnd();
              }),
              IDOK);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Resource is in use by another connection", L"", L"Sending request...",
                                                 L""}));
    // Each pair was written by one handler after the other, with nothing between.
    LOGLINES lines = SplitLog(log.Text());
    EXPECT_TRUE(HasPair(lines.status, "Status = Resource is in use by another connection", "Status = "));
    EXPECT_TRUE(HasPair(lines.callback, "InternetStatus : Sending request..., ", "InternetStatus : , "));
}

struct STATUSTEXTCASE
{
    DWORD dwStatus;
    const wchar_t* pszText;
};

TEST(StatusTexts, KnownCodesHaveTheirTextsAndOthersNone)
{
    const STATUSTEXTCASE connection[] = {
        {0x00, L"Unknown status"},
        {0x10, L"Connection is up"},
        {0x21, L"Connection failed and cannot not be reestablished"},
        {0x2B, L"Failed to authenticate user"},
        {0x42, L"Network is used by higher priority thread or device is roaming"},
        {0x81, L"Aborting connection attempt"},
        {0x12, L""},
        {0x99, L""},
    };
    for (const STATUSTEXTCASE& c : connection)
        EXPECT_EQ(ConnMgrStatusText(c.dwStatus), c.pszText) << c.dwStatus;
    const STATUSTEXTCASE internet[] = {
        {10, L"Resolving name..."}, {43, L"Prefetch"},       {51, L"Connection closed"},
        {80, L"Detecting proxy..."}, {100, L"Request complete"}, {110, L""}, {0, L""},
    };
    for (const STATUSTEXTCASE& c : internet)
        EXPECT_EQ(InternetStatusText(c.dwStatus), c.pszText) << c.dwStatus;
}

TEST(HangUpAllConnections, EndsEveryDialUpConnectionHoweverMany)
{
    for (int nCount : {0, 1, 5}) {
        CFakeDialUp::Reset();
        for (int i = 0; i < nCount; ++i)
            CFakeDialUp::Add(L"Dial-up " + std::to_wstring(i));
        HangUpAllConnections();
        EXPECT_TRUE(CFakeDialUp::Names().empty()) << nCount;
    }
}

}
