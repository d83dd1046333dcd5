#pragma once

#include "net/DownloadOutcome.h"

#include <string>

class CDownloadFile;
class CLogFile;
class CWeatherData;

// An answer that came whole, on its way into its file and the store.
class CDownloadAnswer
{
public:
    // Parses the body once; when it is the document the request's kind asks
    // for, the received file replaces the target and the same document is read
    // into the store. Anything else discards the file and leaves the target and
    // the store as they were. On the user-interface thread, because the
    // windows underneath compose the chart from the store.
    static CDownloadOutcome Commit(CWeatherData& data, CLogFile& log, int nKind, CDownloadFile& file,
                                   std::string strBody);
};
