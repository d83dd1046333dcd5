#pragma once

#include "service/places/Place.h"
#include "service/places/TextFolding.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// The station IDs of a live source's places. The program names a station by
// an ID of four letters and four digits, and keeps it in "stations.dat" for as
// long as the user likes; a live source's places have numbers of their own.
// So each place the service has answered with gets an ID once, kept with the
// place in a file of the table's own, and names that place ever after.
//
// An ID is the country code, the first two letters of the place's name
// (accents folded away) and the last four digits of the source's number for
// the place, so that most places get the same ID on any machine. When that ID
// is taken, by another place or by one of the demo's places (which the live
// source also serves), the next free number follows.
class CStationIdTable
{
public:
    // The file: a missing one is an empty table. False with a reason when it
    // exists but cannot be read; the table is then not to be used, lest a
    // save write over the places it holds.
    bool Load(const std::string& strPath, std::string& strError);

    // Gives each place (identified by m_nSourceID) its ID in m_strID, new
    // places a new one, and keeps the table on disk. False with a reason when
    // it cannot be kept: the table is then as it was, and no place has a new ID.
    bool Assign(std::vector<CPlace>& places, std::string& strError);

    // The place of an ID (any letter case), looked for on disk too when it is
    // not known here; false for an unknown one.
    bool Find(const std::string& strID, CPlace& place);

    // The ID a place would get in an empty table.
    std::string BaseID(const CPlace& place) const;

    size_t Size() const;

    std::set<std::string> m_reserved;   // IDs never to give out: the demo's

private:
    struct Stamp
    {
        long nInode = 0;
        long nSize = -1;
        long nModified = 0;   // nanoseconds
        bool operator==(const Stamp& other) const
        {
            return nInode == other.nInode && nSize == other.nSize && nModified == other.nModified;
        }
    };
    static Stamp StampOf(const std::string& strPath);
    // Reads the file into the maps (a missing file is an empty table).
    bool ReadFile(std::map<std::string, CPlace>& byID, std::map<int64_t, std::string>& bySource,
                  std::string& strError);
    // Takes in what another service saved, if the file changed since it was
    // last read or written here. m_mutex held.
    bool Refresh(std::string& strError);
    // Whether every place is known here as it is: then nothing is to be saved.
    bool AllKnown(std::vector<CPlace>& places) const;
    bool Save(std::string& strError);

    std::string m_strPath;
    Stamp m_stamp;
    mutable std::mutex m_mutex;
    std::map<std::string, CPlace> m_byID;
    std::map<int64_t, std::string> m_bySource;
    CTextFolding m_folding;
};
