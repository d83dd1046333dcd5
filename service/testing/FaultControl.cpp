#include "service/testing/FaultControl.h"

#include "service/http/ForecastServer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

const char* const TEXT_TYPE = "text/plain; charset=UTF-8";

bool IsControl(const std::string& strPath)
{
    return strPath.compare(0, 9, "/control/") == 0;
}

std::string Lower(std::string strText)
{
    for (char& c : strText)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strText;
}

// The content types a page of any site may POST without asking first.
bool IsFormType(const std::string& strContentType)
{
    std::string strType = Lower(strContentType.substr(0, strContentType.find(';')));
    strType.erase(std::remove_if(strType.begin(), strType.end(), [](char c) { return c == ' ' || c == '\t'; }),
                  strType.end());
    return strType == "application/x-www-form-urlencoded" || strType == "multipart/form-data" ||
           strType == "text/plain";
}

// The Host a local client names: a loopback address or localhost, any port.
bool IsLoopbackHost(const std::string& strHost)
{
    std::string strName = Lower(strHost);
    if (!strName.empty() && strName[0] == '[') {
        strName = strName.substr(1, strName.find(']') - 1);
    } else {
        strName = strName.substr(0, strName.find(':'));
    }
    return strName == "localhost" || CForecastServer::IsLoopback(strName);
}

} // namespace

bool CFaultControl::TakeOption(int argc, char** argv, int& i, std::string& strError)
{
    const std::string strOption = argv[i];
    if (strOption == "--control") {
        m_bControl = true;
        return true;
    }
    if (strOption != "--fault")
        return false;
    if (i + 1 >= argc) {
        strError = "--fault needs a value";
        return true;
    }
    CFaultInjector::Parse(argv[++i], m_standing, strError);
    return true;
}

std::string CFaultControl::HelpText() const
{
    return std::string(
               "\n"
               "For tests:\n"
               "  --fault KIND[:ARG] make every answer go wrong in that way (kinds below)\n"
               "  --control          answer the control requests below (only from this\n"
               "                     machine, never from a web page)\n"
               "\n"
               "Control (with --control):\n"
               "  POST /control/fault?kind=KIND[:ARG]&count=N&path=PREFIX\n"
               "       the next N requests (default 1; 0: all until cleared) whose path and\n"
               "       query start with PREFIX (default: any) get that fault\n"
               "  DELETE /control/fault              drop the armed faults\n"
               "  GET  /control/requests[?path=P]    requests so far: \"COUNT PATH\" lines, or P's count\n"
               "       (a station that does not exist counts as /weather/local/(unknown), any\n"
               "       other path as (other))\n"
               "  POST /control/reset                drop the armed faults and the counts\n"
               "\n"
               "Fault kinds:\n") +
           CFaultInjector::KindsHelp();
}

void CFaultControl::Attach(CForecastServer& server)
{
    if (m_standing.kind != CFaultInjector::NONE)
        m_faults.SetStanding(m_standing);
    server.m_http.m_handler = [this, &server](const CHttpRequest& req, CHttpAnswer& answer) {
        Handle(server, req, answer);
    };
    // Answered even while every worker is busy with a slow answer.
    server.m_http.m_isUrgent = [](const CHttpRequest& req) { return IsControl(req.m_strPath); };
}

void CFaultControl::Stop()
{
    m_faults.Stop();
}

std::string CFaultControl::StartNote() const
{
    if (m_standing.kind == CFaultInjector::NONE)
        return std::string();
    return ", every answer with the fault " + CFaultInjector::Describe(m_standing);
}

std::string CFaultControl::RemoteNote() const
{
    return m_bControl ? "; the control requests still answer only this machine" : "";
}

void CFaultControl::Handle(CForecastServer& server, const CHttpRequest& req, CHttpAnswer& answer)
{
    if (IsControl(req.m_strPath)) {
        Control(req, answer);
        return;
    }
    const bool bRead = req.m_strMethod == "GET" || req.m_strMethod == "HEAD";
    const CFaultInjector::Fault fault = bRead ? m_faults.Take(req.m_strTarget) : CFaultInjector::Fault();
    if (fault.kind == CFaultInjector::NONE) {
        server.Handle(req, answer);
        Count(req, answer);
        return;
    }
    // A wrong answer is made from the whole answer, never from "not modified".
    CHttpRequest whole = req;
    whole.m_headers.erase(std::remove_if(whole.m_headers.begin(), whole.m_headers.end(),
                                         [](const auto& header) { return header.first == "if-none-match"; }),
                          whole.m_headers.end());
    server.Handle(whole, answer);
    Count(req, answer);
    const std::string strBody = answer.m_strBody;
    m_faults.Apply(fault, answer, answer.m_nStatus, answer.m_strType, strBody);
}

void CFaultControl::Count(const CHttpRequest& req, const CHttpAnswer& answer)
{
    // Counted per path only for what the service has, so that the counts
    // stay as few as the places.
    const bool bRead = req.m_strMethod == "GET" || req.m_strMethod == "HEAD";
    if (bRead && (req.m_strPath == "/" || req.m_strPath == "/search/search"))
        m_requests.Count(req.m_strPath);
    else if (bRead && req.m_strPath.compare(0, 15, "/weather/local/") == 0)
        m_requests.Count(answer.m_nStatus == 404 ? CRequestCounter::UNKNOWN_STATION : req.m_strPath);
    else
        m_requests.Count(CRequestCounter::OTHER);
}

void CFaultControl::Control(const CHttpRequest& req, CHttpAnswer& answer)
{
    if (!m_bControl) {
        answer.Set(404, TEXT_TYPE, "Not Found\n");
        return;
    }
    if (!CForecastServer::IsLoopback(req.m_strPeer) || req.HasHeader("Origin") ||
        IsFormType(req.Header("Content-Type")) || !IsLoopbackHost(req.Header("Host"))) {
        answer.Set(403, TEXT_TYPE, "The control endpoints answer programs on this machine only, not web pages.\n");
        return;
    }
    const std::string& strMethod = req.m_strMethod;
    if (req.m_strPath == "/control/fault" && strMethod == "POST") {
        ArmFault(req, answer);
    } else if (req.m_strPath == "/control/fault" && strMethod == "DELETE") {
        m_faults.ClearArmed();
        answer.Set(200, TEXT_TYPE, "cleared\n");
    } else if (req.m_strPath == "/control/requests" && strMethod == "GET") {
        answer.Set(200, TEXT_TYPE, req.HasParam("path") ? std::to_string(m_requests.CountOf(req.Param("path"))) + "\n"
                                                        : m_requests.Text());
    } else if (req.m_strPath == "/control/reset" && strMethod == "POST") {
        m_faults.ClearArmed();
        m_requests.Clear();
        answer.Set(200, TEXT_TYPE, "reset\n");
    } else {
        answer.Set(404, TEXT_TYPE, "Not Found\n");
    }
}

void CFaultControl::ArmFault(const CHttpRequest& req, CHttpAnswer& answer)
{
    CFaultInjector::Fault fault;
    std::string strError;
    if (!CFaultInjector::Parse(req.Param("kind"), fault, strError)) {
        answer.Set(400, TEXT_TYPE, strError + "\n");
        return;
    }
    if (req.HasParam("count")) {
        const std::string strCount = req.Param("count");
        char* pEnd = nullptr;
        const long nCount = std::strtol(strCount.c_str(), &pEnd, 10);
        if (strCount.empty() || *pEnd || nCount < 0 || nCount > CFaultInjector::MAX_COUNT) {
            answer.Set(400, TEXT_TYPE, "count must be a whole number from 0 to " +
                                           std::to_string(CFaultInjector::MAX_COUNT) + "\n");
            return;
        }
        fault.nCount = static_cast<int>(nCount);
    }
    fault.strPrefix = req.Param("path");
    if (fault.strPrefix.size() > CHttpRequest::MAX_HEAD) {
        answer.Set(400, TEXT_TYPE, "path is too long\n");
        return;
    }
    if (!m_faults.Arm(fault)) {
        answer.Set(429, TEXT_TYPE, "already " + std::to_string(CFaultInjector::MAX_ARMED) +
                                       " faults armed; reset them first\n");
        return;
    }
    answer.Set(200, TEXT_TYPE, "armed " + CFaultInjector::Describe(fault) + " for " +
                                   (fault.nCount ? std::to_string(fault.nCount) : std::string("every")) +
                                   " request(s) to " +
                                   (fault.strPrefix.empty() ? std::string("any path") : fault.strPrefix) + "\n");
}
