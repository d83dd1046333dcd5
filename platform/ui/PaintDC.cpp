#include "platform/ui/PaintDC.h"

#include "platform/ui/DCImpl.h"
#include "platform/ui/WndImpl.h"

CPaintDC::CPaintDC(CWnd* pWnd)
{
    if (!pWnd)
        return;
    if (auto* host = dynamic_cast<HostWidget*>(ImplOf(pWnd)->m_pWidget.data())) {
        ImplOf(this)->m_pSurface = host->m_pPaintSurface;
        ImplOf(this)->m_pErase = host->m_pPaintSurface ? &host->m_erase : nullptr;
    }
}

CPaintDC::~CPaintDC() = default;
