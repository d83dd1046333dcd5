#include "dialogs/DlgUpdateStation.h"

#include "res/Resource.h"

CDlgUpdateStation::CDlgUpdateStation(CWnd* pParent) : CDialog(IDD_UPDATE_STATION, pParent)
{
}
