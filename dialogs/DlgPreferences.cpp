#include "dialogs/DlgPreferences.h"

#include "res/Resource.h"

CDlgPreferences::CDlgPreferences(CWnd* pParent) : CDialog(IDD_PREFERENCES, pParent)
{
}
