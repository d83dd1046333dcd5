#include "dialogs/DlgCustomViews.h"

#include "res/Resource.h"

CDlgCustomViews::CDlgCustomViews(CWnd* pParent) : CDialog(IDD_CUSTOM_VIEWS, pParent)
{
}
