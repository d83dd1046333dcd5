#include "service/places/StationIdTable.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

using json = nlohmann::json;

namespace {

constexpr size_t MAX_TABLE_BYTES = 64 * 1024 * 1024;

std::string Text(const json& object, const char* pszKey)
{
    const auto it = object.find(pszKey);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

bool Number(const json& object, const char* pszKey, double& dValue)
{
    const auto it = object.find(pszKey);
    if (it == object.end() || !it->is_number())
        return false;
    dValue = it->get<double>();
    return true;
}

// Four capital letters and four digits.
bool IsStationID(const std::string& strID)
{
    if (strID.size() != 8)
        return false;
    for (size_t i = 0; i < 8; ++i) {
        const unsigned char c = static_cast<unsigned char>(strID[i]);
        if (i < 4 ? !(c >= 'A' && c <= 'Z') : !std::isdigit(c))
            return false;
    }
    return true;
}

// Writes the whole text to a new file beside the target and renames it over
// the target, each step made durable: a crash or a full disk leaves either
// the old table or the new one, never a part of one.
bool WriteAtomically(const std::string& strPath, const std::string& strText, std::string& strError)
{
    const std::filesystem::path target(strPath);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string strTemp = strPath + ".XXXXXX";
    const int fd = mkstemp(strTemp.data());
    if (fd < 0) {
        strError = "cannot create a file in " + folder.string() + ": " + std::strerror(errno);
        return false;
    }
    size_t nDone = 0;
    bool bGood = true;
    while (bGood && nDone < strText.size()) {
        const ssize_t n = write(fd, strText.data() + nDone, strText.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        bGood = n > 0;
        if (bGood)
            nDone += static_cast<size_t>(n);
    }
    bGood = bGood && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    const int nWriteError = errno;
    bGood = close(fd) == 0 && bGood;
    if (!bGood || std::rename(strTemp.c_str(), strPath.c_str()) != 0) {
        strError = "cannot write " + strPath + ": " + std::strerror(bGood ? errno : nWriteError);
        unlink(strTemp.c_str());
        return false;
    }
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool ReadEntry(const json& item, CPlace& place)
{
    if (!item.is_object())
        return false;
    const auto source = item.find("source_id");
    if (source == item.end() || !source->is_number_integer())
        return false;
    place.m_nSourceID = source->get<int64_t>();
    place.m_strID = Text(item, "id");
    place.m_strName = Text(item, "name");
    place.m_strCity = Text(item, "city");
    place.m_strRegion = Text(item, "region");
    place.m_strCountry = Text(item, "country");
    place.m_strCountryCode = Text(item, "country_code");
    place.m_clock.m_strZone = Text(item, "timezone");
    return IsStationID(place.m_strID) && place.m_nSourceID != 0 && Number(item, "latitude", place.m_dLatitude) &&
           Number(item, "longitude", place.m_dLongitude);
}

// An exclusive lock on the table's folder, held while it lives: the writers
// of one data folder take turns. The folder is made if need be.
class CFolderLock
{
public:
    CFolderLock(const std::string& strTablePath, std::string& strError)
    {
        const std::filesystem::path target(strTablePath);
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (m_fd >= 0 && flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(m_fd);
                m_fd = -1;
            }
        }
        if (m_fd < 0)
            strError = "cannot lock " + folder.string() + ": " + std::strerror(errno);
    }
    ~CFolderLock()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace

CStationIdTable::Stamp CStationIdTable::StampOf(const std::string& strPath)
{
    Stamp stamp;
    struct stat info {};
    if (stat(strPath.c_str(), &info) == 0) {
        stamp.nInode = static_cast<long>(info.st_ino);
        stamp.nSize = static_cast<long>(info.st_size);
        stamp.nModified = static_cast<long>(info.st_mtim.tv_sec) * 1000000000L + info.st_mtim.tv_nsec;
    }
    return stamp;
}

bool CStationIdTable::Load(const std::string& strPath, std::string& strError)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strPath = strPath;
    m_byID.clear();
    m_bySource.clear();
    return ReadFile(m_byID, m_bySource, strError);
}

bool CStationIdTable::ReadFile(std::map<std::string, CPlace>& byID, std::map<int64_t, std::string>& bySource,
                               std::string& strError)
{
    const std::string& strPath = m_strPath;
    const Stamp stamp = StampOf(strPath);
    // Missing, or a folder not made yet: an empty table.
    std::error_code ec;
    if (!std::filesystem::exists(strPath, ec) &&
        (!ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)) {
        m_stamp = stamp;
        return true;
    }
    std::ifstream in(strPath, std::ios::binary);
    if (!in) {
        strError = "cannot read " + strPath + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string strText = text.str();
    const json document = strText.size() <= MAX_TABLE_BYTES ? json::parse(strText, nullptr, false) : json();
    const auto stations = document.is_object() ? document.find("stations") : document.end();
    if (!document.is_object() || stations == document.end() || !stations->is_array()) {
        strError = strPath + " is not a table of station IDs; move it aside to start a new one";
        return false;
    }
    for (const json& item : *stations) {
        CPlace place;
        // An entry that cannot be read names no place the table could serve.
        if (!ReadEntry(item, place) || byID.count(place.m_strID) || bySource.count(place.m_nSourceID))
            continue;
        bySource[place.m_nSourceID] = place.m_strID;
        byID[place.m_strID] = std::move(place);
    }
    m_stamp = stamp;
    return true;
}

bool CStationIdTable::Refresh(std::string& strError)
{
    if (m_strPath.empty() || StampOf(m_strPath) == m_stamp)
        return true;
    std::map<std::string, CPlace> byID;
    std::map<int64_t, std::string> bySource;
    if (!ReadFile(byID, bySource, strError))
        return false;
    // What is on disk was given out by some service: it wins over anything
    // here that names the same place or uses the same ID.
    for (auto& entry : byID) {
        const CPlace& place = entry.second;
        const auto mine = m_bySource.find(place.m_nSourceID);
        if (mine != m_bySource.end() && mine->second != place.m_strID)
            m_byID.erase(mine->second);
        const auto taken = m_byID.find(place.m_strID);
        if (taken != m_byID.end() && taken->second.m_nSourceID != place.m_nSourceID)
            m_bySource.erase(taken->second.m_nSourceID);
        m_bySource[place.m_nSourceID] = place.m_strID;
        m_byID[place.m_strID] = place;
    }
    return true;
}

std::string CStationIdTable::BaseID(const CPlace& place) const
{
    std::string strID;
    for (char c : CTextFolding::Upper(place.m_strCountryCode)) {
        if (c >= 'A' && c <= 'Z' && strID.size() < 2)
            strID += c;
    }
    if (strID.size() < 2)
        strID = "XX";
    for (char c : CTextFolding::Upper(m_folding.Fold(place.m_strCity))) {
        if (c >= 'A' && c <= 'Z' && strID.size() < 4)
            strID += c;
    }
    while (strID.size() < 4)
        strID += 'X';
    char szDigits[8];
    std::snprintf(szDigits, sizeof szDigits, "%04d", static_cast<int>(((place.m_nSourceID % 10000) + 10000) % 10000));
    return strID + szDigits;
}

bool CStationIdTable::AllKnown(std::vector<CPlace>& places) const
{
    for (const CPlace& place : places) {
        if (place.m_nSourceID == 0)
            continue;
        const auto known = m_bySource.find(place.m_nSourceID);
        if (known == m_bySource.end())
            return false;
        const auto kept = m_byID.find(known->second);
        if (kept == m_byID.end() || kept->second.m_strName != place.m_strName ||
            kept->second.m_dLatitude != place.m_dLatitude || kept->second.m_dLongitude != place.m_dLongitude ||
            kept->second.m_clock.m_strZone != place.m_clock.m_strZone)
            return false;
    }
    for (CPlace& place : places)
        place.m_strID = place.m_nSourceID == 0 ? std::string() : m_bySource.at(place.m_nSourceID);
    return true;
}

bool CStationIdTable::Assign(std::vector<CPlace>& places, std::string& strError)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (AllKnown(places))
        return true;
    // Another service may have given IDs since the file was read here: take
    // them in under the folder's lock, so that no ID is given twice.
    const CFolderLock folderLock(m_strPath, strError);
    if (!folderLock.IsHeld() || !Refresh(strError)) {
        for (CPlace& place : places)
            place.m_strID.clear();
        return false;
    }
    // What the table held, taken at its first change only (most answers name
    // places it knows as they are), to undo a save that fails.
    std::optional<std::pair<std::map<std::string, CPlace>, std::map<int64_t, std::string>>> before;
    auto keepBefore = [&]() {
        if (!before)
            before.emplace(m_byID, m_bySource);
    };
    for (CPlace& place : places) {
        if (place.m_nSourceID == 0) {
            place.m_strID.clear();
            continue;
        }
        auto known = m_bySource.find(place.m_nSourceID);
        if (known != m_bySource.end()) {
            place.m_strID = known->second;
            const auto kept = m_byID.find(place.m_strID);
            // The source may have better names or a finer position by now.
            if (kept == m_byID.end() || kept->second.m_strName != place.m_strName ||
                kept->second.m_dLatitude != place.m_dLatitude || kept->second.m_dLongitude != place.m_dLongitude ||
                kept->second.m_clock.m_strZone != place.m_clock.m_strZone) {
                keepBefore();
                m_byID[place.m_strID] = place;
            }
            continue;
        }
        const std::string strBase = BaseID(place);
        int nNumber = std::atoi(strBase.c_str() + 4);
        std::string strID = strBase;
        int nTries = 0;
        while ((m_byID.count(strID) || m_reserved.count(strID)) && ++nTries < 10000) {
            nNumber = (nNumber + 1) % 10000;
            char szDigits[8];
            std::snprintf(szDigits, sizeof szDigits, "%04d", nNumber);
            strID = strBase.substr(0, 4) + szDigits;
        }
        if (nTries == 10000) {
            // Every number of these letters is taken: no ID for this place.
            place.m_strID.clear();
            continue;
        }
        keepBefore();
        place.m_strID = strID;
        m_bySource[place.m_nSourceID] = strID;
        m_byID[strID] = place;
    }
    if (before && !Save(strError)) {
        m_byID = std::move(before->first);
        m_bySource = std::move(before->second);
        for (CPlace& place : places)
            place.m_strID.clear();
        return false;
    }
    return true;
}

bool CStationIdTable::Find(const std::string& strID, CPlace& place)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_byID.find(CTextFolding::Upper(strID));
    if (it == m_byID.end()) {
        // The file is replaced whole, so it can be read without the lock.
        std::string strError;
        if (!IsStationID(CTextFolding::Upper(strID)) || !Refresh(strError))
            return false;
        it = m_byID.find(CTextFolding::Upper(strID));
    }
    if (it == m_byID.end())
        return false;
    place = it->second;
    return true;
}

size_t CStationIdTable::Size() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_byID.size();
}

bool CStationIdTable::Save(std::string& strError)
{
    json stations = json::array();
    for (const auto& entry : m_byID) {
        const CPlace& place = entry.second;
        stations.push_back({{"id", place.m_strID},
                            {"source_id", place.m_nSourceID},
                            {"name", place.m_strName},
                            {"city", place.m_strCity},
                            {"region", place.m_strRegion},
                            {"country", place.m_strCountry},
                            {"country_code", place.m_strCountryCode},
                            {"latitude", place.m_dLatitude},
                            {"longitude", place.m_dLongitude},
                            {"timezone", place.m_clock.m_strZone}});
    }
    const json document = {{"comment", "Station IDs the Cirrovan service gave to Open-Meteo's places; keep it."},
                           {"stations", stations}};
    if (!WriteAtomically(m_strPath, document.dump(1, ' ', false, json::error_handler_t::replace) + "\n", strError))
        return false;
    m_stamp = StampOf(m_strPath);
    return true;
}
