#pragma once

#include "store/PointerArray.h"
#include "store/Station.h"

#include <string>

class TiXmlDocument;

// "stations.dat": the user's stations, one "station" element each under the
// document's first element, whatever that is named.
class CStationFile
{
public:
    // Replaces the list by the stations of a document that CXmlFile has
    // parsed. A document without an element (such as one CXmlFile refused,
    // which it leaves empty) gives an empty list and false.
    static bool Read(const TiXmlDocument& doc, CPointerArray<CStation>& stations);
    // Read of the document CXmlFile loads from the file: a file that is
    // missing or not well-formed gives an empty list.
    static bool Load(const std::wstring& strPath, CPointerArray<CStation>& stations);
};
