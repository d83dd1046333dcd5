#pragma once

#include "platform/ResourceTypes.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

// One picture of an icon: its size in pixels (square) and its PNG data.
struct ICONIMAGE
{
    int nPixels;
    const unsigned char* pPng;
    size_t nSize;
};

// The program's resources, addressed by number as on the device: string table
// entries, bitmaps and icons (PNG data). The resource library of the application fills
// the table once at start (and every UI test does the same); lookups of numbers
// that were never added fail.
class CResources
{
public:
    static void AddString(UINT nID, const std::wstring& strText);
    // Empty text when the table lacks the number.
    static std::wstring LoadString(UINT nID);
    static bool HasString(UINT nID);

    // The data is not copied: it must outlive the program (static arrays). A
    // picture may come drawn at several whole scales (1 is the device's own
    // pixels, 2 twice as many each way, up to 4).
    static void AddBitmap(UINT nID, const unsigned char* pPng, size_t nSize, int nScale = 1);
    static bool FindBitmap(UINT nID, const unsigned char*& pPng, size_t& nSize, int nScale = 1);

    // An icon is one picture per size; the data is not copied either.
    static void AddIcon(UINT nID, int nPixels, const unsigned char* pPng, size_t nSize);
    static std::vector<ICONIMAGE> FindIcon(UINT nID);   // smallest first; empty when unknown

    // Templates are not copied either: they are the resource library's static data.
    static void AddDialog(const DLGTEMPLATE* pTemplate);
    static const DLGTEMPLATE* FindDialog(UINT nID);
    static void AddMenu(const MENUTEMPLATE* pMenu);
    static const MENUTEMPLATE* FindMenu(UINT nID);
    static void AddMenuBar(const MENUBARTEMPLATE* pMenuBar);
    static const MENUBARTEMPLATE* FindMenuBar(UINT nID);
};
