#pragma once

#include "platform/ui/Wnd.h"

class CBitmap;

// A text or picture label; its text is the window text.
class CStatic : public CWnd
{
public:
    // A picture label shows a copy of the image from now on (the platform's
    // SetBitmap, for pictures composed at run time).
    void SetBitmap(const CBitmap& bitmap);
};
