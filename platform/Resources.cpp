#include "platform/Resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Table
{
    std::mutex m_mutex;
    std::map<UINT, std::wstring> m_strings;
    std::map<UINT, std::pair<const unsigned char*, size_t>> m_bitmaps;
};

// Built on first use so that static constructors elsewhere may already add to it.
Table& TheTable()
{
    static Table table;
    return table;
}

}

void CResources::AddString(UINT nID, const std::wstring& strText)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_strings[nID] = strText;
}

std::wstring CResources::LoadString(UINT nID)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    auto it = t.m_strings.find(nID);
    return it == t.m_strings.end() ? std::wstring() : it->second;
}

bool CResources::HasString(UINT nID)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    return t.m_strings.count(nID) != 0;
}

void CResources::AddBitmap(UINT nID, const unsigned char* pPng, size_t nSize)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_bitmaps[nID] = std::make_pair(pPng, nSize);
}

bool CResources::FindBitmap(UINT nID, const unsigned char*& pPng, size_t& nSize)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    auto it = t.m_bitmaps.find(nID);
    if (it == t.m_bitmaps.end())
        return false;
    pPng = it->second.first;
    nSize = it->second.second;
    return true;
}
