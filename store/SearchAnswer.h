#pragma once

#include "store/PointerArray.h"
#include "store/Station.h"

#include <string>

class TiXmlDocument;

// The service's answer to a station search: a "search" element with one "loc"
// element per place found, its "id" the station's ID and its text the name.
class CSearchAnswer
{
public:
    // Replaces the results by those of an answer that CXmlFile has parsed:
    // a well-formed answer without "search" gives none. A document CXmlFile
    // refused (it leaves it empty) keeps the previous results and gives false.
    static bool Read(const TiXmlDocument& doc, CPointerArray<CStation>& results);
    // Read of the document CXmlFile loads from the file: a file that is
    // missing or not well-formed keeps the previous results.
    static bool Load(const std::wstring& strPath, CPointerArray<CStation>& results);
};
