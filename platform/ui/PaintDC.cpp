#include "platform/ui/PaintDC.h"

#include "platform/ui/DCImpl.h"
#include "platform/ui/WndImpl.h"

CPaintDC::CPaintDC(CWnd* pWnd)
{
    if (!pWnd)
        return;
    if (auto* host = dynamic_cast<HostWidget*>(pWnd->m_pImpl->m_pWidget.data())) {
        m_pImpl->m_pSurface = host->m_pPaintSurface;
        m_pImpl->m_pErase = host->m_pPaintSurface ? &host->m_erase : nullptr;
    }
}

CPaintDC::~CPaintDC() = default;
