#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class CHttpAnswer;

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

    // Rules armed at once, and the requests one rule may apply to.
    static constexpr size_t MAX_ARMED = 32;
    static constexpr int MAX_COUNT = 1000;

    void SetStanding(const Fault& fault);
    // False when MAX_ARMED rules are armed already.
    bool Arm(const Fault& fault);
    // Drops the armed faults and ends the pauses under way; the standing
    // fault stays.
    void ClearArmed();
    // The fault that this request gets, counted against its rule; kind NONE
    // for none.
    Fault Take(const std::string& strTarget);

    // Answers with the fault instead of the normal answer, which it is given.
    // Faults below the HTTP layer send raw bytes and then close.
    void Apply(const Fault& fault, CHttpAnswer& answer, int nStatus, const std::string& strType,
               const std::string& strBody);

    // Waits, or less when the armed faults are cleared or the service stops;
    // false when it stopped.
    bool Pause(long nMilliseconds);
    // Ends every pause now and each one to come: the server is going down.
    void Stop();

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStopping = false;
    unsigned m_nClearings = 0;
    Fault m_standing;
    std::vector<Fault> m_armed;
};
