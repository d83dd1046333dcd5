#include "platform/ui/Static.h"

#include "platform/ui/WndImpl.h"

#include <QLabel>
#include <QPixmap>

void CStatic::SetBitmap(const CBitmap& bitmap)
{
    QImage image = bitmap.m_pImpl->m_image;
    RunForWindow(this, [image](CWnd* p) {
        if (auto* label = qobject_cast<QLabel*>(p->m_pImpl->m_pWidget.data()))
            label->setPixmap(QPixmap::fromImage(image));
    });
}
