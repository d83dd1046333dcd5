#pragma once

#include "platform/WinTypes.h"

#include <string>

// An off-screen image of 32 bits a pixel, so that every colour is held exactly.
class CBitmap
{
public:
    CBitmap();
    ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // A new image is black, as a fresh compatible bitmap is on the device.
    bool CreateBitmap(int nWidth, int nHeight);
    // From the resource table (a PNG); false when the number is unknown or the data bad.
    bool LoadBitmap(UINT nID);
    bool LoadPng(const std::wstring& strPath);
    void DeleteObject();

    bool IsValid() const;
    SIZE GetSize() const;   // 0 x 0 when not valid
    COLORREF GetPixel(int x, int y) const;   // outside: 0xffffffff (CLR_INVALID)
    void SetPixel(int x, int y, COLORREF cr);
    bool SavePng(const std::wstring& strPath) const;

    struct Impl;
    Impl* m_pImpl;
};

constexpr COLORREF CLR_INVALID = 0xffffffff;
