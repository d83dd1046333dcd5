#include "dialogs/DlgFindStation.h"

#include "res/Resource.h"

CDlgFindStation::CDlgFindStation(CWnd* pParent) : CDialog(IDD_FIND_STATION, pParent)
{
}
