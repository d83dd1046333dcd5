#include "platform/Font.h"

HFONT CreateFontIndirect(const LOGFONT* pLogFont)
{
    if (!pLogFont)
        return nullptr;
    HFONT hFont = new FONTOBJECT;
    hFont->m_lf = *pLogFont;
    // The face name must stay terminated whatever the caller filled in.
    hFont->m_lf.lfFaceName[31] = L'\0';
    return hFont;
}

void DeleteObject(HFONT hFont)
{
    delete hFont;
}
