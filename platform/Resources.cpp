#include "platform/Resources.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct Table
{
    std::mutex m_mutex;
    std::map<UINT, std::wstring> m_strings;
    std::map<std::pair<UINT, int>, std::pair<const unsigned char*, size_t>> m_bitmaps;   // by number and scale
    std::map<UINT, std::map<int, ICONIMAGE>> m_icons;
    std::map<UINT, const DLGTEMPLATE*> m_dialogs;
    std::map<UINT, const MENUTEMPLATE*> m_menus;
    std::map<UINT, const MENUBARTEMPLATE*> m_menuBars;
};

// Built on first use so that static constructors elsewhere may already add to it.
template <typename T>
const T* Find(std::mutex& mutex, const std::map<UINT, const T*>& map, UINT nID)
{
    std::lock_guard<std::mutex> lock(mutex);
    auto it = map.find(nID);
    return it == map.end() ? nullptr : it->second;
}

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

void CResources::AddBitmap(UINT nID, const unsigned char* pPng, size_t nSize, int nScale)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_bitmaps[std::make_pair(nID, nScale)] = std::make_pair(pPng, nSize);
}

bool CResources::FindBitmap(UINT nID, const unsigned char*& pPng, size_t& nSize, int nScale)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    auto it = t.m_bitmaps.find(std::make_pair(nID, nScale));
    if (it == t.m_bitmaps.end())
        return false;
    pPng = it->second.first;
    nSize = it->second.second;
    return true;
}

void CResources::AddIcon(UINT nID, int nPixels, const unsigned char* pPng, size_t nSize)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_icons[nID][nPixels] = ICONIMAGE{nPixels, pPng, nSize};
}

std::vector<ICONIMAGE> CResources::FindIcon(UINT nID)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    std::vector<ICONIMAGE> images;
    auto it = t.m_icons.find(nID);
    if (it != t.m_icons.end())
        for (const auto& entry : it->second)
            images.push_back(entry.second);
    return images;
}

void CResources::AddDialog(const DLGTEMPLATE* pTemplate)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_dialogs[pTemplate->nID] = pTemplate;
}

const DLGTEMPLATE* CResources::FindDialog(UINT nID)
{
    return Find(TheTable().m_mutex, TheTable().m_dialogs, nID);
}

void CResources::AddMenu(const MENUTEMPLATE* pMenu)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_menus[pMenu->nID] = pMenu;
}

const MENUTEMPLATE* CResources::FindMenu(UINT nID)
{
    return Find(TheTable().m_mutex, TheTable().m_menus, nID);
}

void CResources::AddMenuBar(const MENUBARTEMPLATE* pMenuBar)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.m_mutex);
    t.m_menuBars[pMenuBar->nID] = pMenuBar;
}

const MENUBARTEMPLATE* CResources::FindMenuBar(UINT nID)
{
    return Find(TheTable().m_mutex, TheTable().m_menuBars, nID);
}

void DialogUnitsToPixels(int x, int y, int cx, int cy, RECT& rcPixels)
{
    rcPixels.left = MulDiv(x, DLG_BASEUNIT_X, 4);
    rcPixels.top = MulDiv(y, DLG_BASEUNIT_Y, 8);
    rcPixels.right = rcPixels.left + MulDiv(cx, DLG_BASEUNIT_X, 4);
    rcPixels.bottom = rcPixels.top + MulDiv(cy, DLG_BASEUNIT_Y, 8);
}
