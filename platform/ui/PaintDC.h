#pragma once

#include "platform/ui/DC.h"

class CWnd;

// Only inside OnPaint: draws on the window being painted (a white client area
// when the paint came with an erase).
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
};
