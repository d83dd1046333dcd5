#include "dialogs/DlgNewStation.h"

#include "res/Resource.h"

CDlgNewStation::CDlgNewStation(CWnd* pParent) : CDialog(IDD_NEW_STATION, pParent)
{
}
