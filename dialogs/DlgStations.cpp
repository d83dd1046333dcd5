#include "dialogs/DlgStations.h"

#include "res/Resource.h"

CDlgStations::CDlgStations(CWnd* pParent) : CDialog(IDD_STATIONS, pParent)
{
}
