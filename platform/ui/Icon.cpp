// Window icons: loaded from the icon resources with all their sizes, and shown
// by the desktop for the screen's window.

#include "platform/Resources.h"
#include "platform/ui/ScreenImpl.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <map>
#include <memory>
#include <mutex>

struct ICONOBJECT
{
    QIcon m_icon;
};

HICON LoadIcon(UINT nIDResource)
{
    EnsureApplication();
    // Loaded once and shared for the life of the process, as the platform shares
    // resource icons; never destroyed, since a QIcon must not outlive Qt.
    static std::mutex s_mutex;
    static auto& s_icons = *new std::map<UINT, std::unique_ptr<ICONOBJECT>>;
    std::lock_guard<std::mutex> lock(s_mutex);
    auto it = s_icons.find(nIDResource);
    if (it != s_icons.end())
        return it->second.get();
    QIcon icon;
    for (const ICONIMAGE& image : CResources::FindIcon(nIDResource)) {
        QPixmap pixmap;
        if (pixmap.loadFromData(image.pPng, static_cast<uint>(image.nSize), "PNG"))
            icon.addPixmap(pixmap);
    }
    if (icon.isNull())
        return nullptr;
    std::unique_ptr<ICONOBJECT>& object = s_icons[nIDResource];
    object.reset(new ICONOBJECT{icon});
    return object.get();
}

HICON CWnd::SetIcon(HICON hIcon, bool bBigIcon)
{
    HICON& slot = m_pImpl->m_hIcon[bBigIcon ? 1 : 0];
    HICON hOld = slot;
    slot = hIcon;
    // The screen is the only window the desktop sees; it shows the icon set last.
    RunForWindow(this, [hIcon](CWnd*) {
        if (!hIcon)
            return;
        ImplOf(CDeviceScreen::Get())->m_pScreen->setWindowIcon(hIcon->m_icon);
        QApplication::setWindowIcon(hIcon->m_icon);
    });
    return hOld;
}

HICON CWnd::GetIcon(bool bBigIcon) const
{
    return m_pImpl->m_hIcon[bBigIcon ? 1 : 0];
}
