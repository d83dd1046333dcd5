#pragma once

#include "platform/WinTypes.h"

// Logical-font record with the platform's field names. A negative height is the
// character height in pixels (-10 is a 10-pixel font).
struct LOGFONT
{
    int lfHeight;
    int lfWidth;
    int lfEscapement;
    int lfOrientation;
    int lfWeight;
    unsigned char lfItalic;
    unsigned char lfUnderline;
    unsigned char lfStrikeOut;
    unsigned char lfCharSet;
    unsigned char lfOutPrecision;
    unsigned char lfClipPrecision;
    unsigned char lfQuality;
    unsigned char lfPitchAndFamily;
    wchar_t lfFaceName[32];
};

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr unsigned char CLEARTYPE_QUALITY = 5;

// A font handle holds its own copy of the record. Creating and deleting one needs
// no window system, so the data layer can own fonts; the drawing context turns the
// record into a real font when the handle is selected.
struct FONTOBJECT
{
    LOGFONT m_lf;
};
typedef FONTOBJECT* HFONT;

HFONT CreateFontIndirect(const LOGFONT* pLogFont);   // null record: null handle
void DeleteObject(HFONT hFont);                       // null handle: nothing happens
