#pragma once

#include "platform/ui/Wnd.h"

// A text or picture label; its text is the window text.
class CStatic : public CWnd
{
};
