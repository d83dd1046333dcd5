#pragma once

#include <string>

// How one download ended: its answer stored and read into the store, cancelled
// by the user, or a failure and its reason.
class CDownloadOutcome
{
public:
    enum Reason {
        STORED,
        CANCELLED,         // by the user: not a failure
        UNREACHABLE,       // no connection, no such host, refused, or no answer at all
        TIMED_OUT,         // no answer, or not all of it, within the time allowed
        TOO_SLOW,          // the answer came in slower than any real link delivers
        UNKNOWN_STATION,   // the service does not know the station asked for
        HTTP_ERROR,        // any other answer than "200 OK" (m_nStatus)
        NOT_AN_ANSWER,     // not the document asked for (a portal's page, another feed)
        TOO_LARGE,         // past the largest document the store reads
        CUT_SHORT,         // the connection ended before the whole answer came
        NOT_SAVED,         // the answer could not be written beside the data
    };

    CDownloadOutcome() = default;
    CDownloadOutcome(Reason nReason, long nStatus = 0) : m_nReason(nReason), m_nStatus(nStatus) {}

    bool IsStored() const { return m_nReason == STORED; }
    bool IsFailure() const { return m_nReason != STORED && m_nReason != CANCELLED; }
    // The reason in the user's words, for a request of that kind and argument
    // (a search text or a station ID); empty when nothing failed.
    std::wstring Words(int nKind, const std::wstring& strArgument) const;

    Reason m_nReason = UNREACHABLE;
    long m_nStatus = 0;   // the HTTP status of HTTP_ERROR
};
