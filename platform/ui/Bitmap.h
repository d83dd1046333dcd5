#pragma once

#include "platform/WinTypes.h"

#include <memory>
#include <string>

// An off-screen image of 32 bits a pixel, so that every colour is held exactly.
// Its size and every coordinate are in device pixels; the image itself is held
// at the ratio of the screen when it was made or loaded (GetRatio), so that
// what is drawn on it is as sharp as the desktop shows.
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
    double GetRatio() const;   // the desktop's pixels per device pixel, each way
    // The middle of a device pixel; outside: 0xffffffff (CLR_INVALID).
    COLORREF GetPixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF cr);   // the whole device pixel
    // The image as the desktop holds it, finer than the device at a ratio
    // above 1: its size (0 x 0 when not valid) and one of its pixels
    // (outside: CLR_INVALID).
    SIZE GetDesktopSize() const;
    COLORREF GetDesktopPixel(int x, int y) const;
    bool SavePng(const std::wstring& strPath) const;

    // The image itself, known only inside the platform (QtBridge.h).
    struct Impl;

private:
    friend struct BitmapAccess;
    std::unique_ptr<Impl> m_pImpl;
};

constexpr COLORREF CLR_INVALID = 0xffffffff;
