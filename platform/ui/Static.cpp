#include "platform/ui/Static.h"

#include "platform/ui/WndImpl.h"

#include <QLabel>
#include <QPixmap>

void CStatic::SetBitmap(const CBitmap& bitmap)
{
    QImage image = ImplOf(bitmap)->m_image;
    RunForWindow(this, [image](CWnd* p) {
        if (auto* label = qobject_cast<QLabel*>(ImplOf(p)->m_pWidget.data()))
            label->setPixmap(QPixmap::fromImage(image));
    });
}
