#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace httplib {
struct Request;
struct Response;
}

// Makes answers go wrong on purpose, so that tests see how a client copes:
// HTTP errors, slow answers, bodies cut short or mislabelled, bodies that are
// not XML, too large or too deep, connections closed before anything is said.
//
// A standing fault (the command line's --fault) applies to every answer;
// armed faults (the control endpoint) apply to the next requests whose path
// and query start with a given text, and win over the standing one.
class CFaultInjector
{
public:
    enum Kind { NONE, HTTP_ERROR, DELAY, STALL, CUT, LENGTH_OVER, LENGTH_UNDER, CHUNKED, NO_LENGTH,
                NOT_XML, HUGE_BODY, DEEP, CLOSE };

    struct Fault
    {
        Kind kind = NONE;
        long nArg = 0;            // the kind's number; 0 takes the kind's default
        int nCount = 1;           // requests it applies to; 0: until cleared
        std::string strPrefix;    // of the request's path and query; empty: any
    };

    // "KIND" or "KIND:ARG", e.g. "status:503", "cut:200", "chunked".
    static bool Parse(const std::string& strSpec, Fault& fault, std::string& strError);
    static std::string Describe(const Fault& fault);
    // The kinds and their arguments, one per line, for --help.
    static const char* KindsHelp();

    void SetStanding(const Fault& fault);
    void Arm(const Fault& fault);
    // Drops the armed faults; the standing one stays.
    void ClearArmed();
    // The fault that this request gets, counted against its rule; kind NONE
    // for none.
    Fault Take(const std::string& strTarget);

    // Answers the request with the fault instead of the normal answer, which
    // it is given. Faults below the HTTP layer write to the connection itself
    // and then close it.
    void Apply(const Fault& fault, const httplib::Request& req, httplib::Response& res, int nStatus,
               const std::string& strType, const std::string& strBody);

    // Waits, or less when the service stops; false when it stopped.
    bool Pause(long nMilliseconds);
    // Ends every pause now and each one to come: the server is going down.
    void Stop();

private:
    bool SendRaw(const httplib::Request& req, httplib::Response& res, const std::string& strBytes);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStopping = false;
    Fault m_standing;
    std::vector<Fault> m_armed;
};
