#include "dialogs/DlgSelectStation.h"

#include "res/Resource.h"

CDlgSelectStation::CDlgSelectStation(CWnd* pParent) : CDialog(IDD_SELECT_STATION, pParent)
{
}
