#include "net/DownloadAnswer.h"

#include "log/LogFile.h"
#include "model/WeatherData.h"
#include "net/DownloadFile.h"
#include "store/XmlFile.h"

#include <tinyxml.h>

#include <utility>

CDownloadOutcome CDownloadAnswer::Commit(CWeatherData& data, CLogFile& log, int nKind, CDownloadFile& file,
                                         std::string strBody)
{
    // The store reads only documents that are whole and well-formed, and what
    // was asked for; an answer it would reject (a notice in plain text, a
    // document cut short, a portal's page, another feed) must not replace a
    // forecast that it can read.
    TiXmlDocument doc;
    if (!CXmlFile::Parse(doc, std::move(strBody)) || !CWeatherData::HoldsAnswer(nKind, doc)) {
        log.Printf(L"Not a readable document: %s\n", file.m_strTarget.c_str());
        file.Discard();
        return CDownloadOutcome::NOT_AN_ANSWER;
    }
    if (!file.Commit()) {
        log.Printf(L"Cannot replace %s\n", file.m_strTarget.c_str());
        return CDownloadOutcome::NOT_SAVED;
    }
    data.ReadAnswer(nKind, doc);
    return CDownloadOutcome::STORED;
}
