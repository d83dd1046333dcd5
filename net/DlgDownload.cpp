#include "net/DlgDownload.h"

#include "res/Resource.h"

CDlgDownload::CDlgDownload(CWnd* pParent) : CDialog(IDD_DOWNLOAD, pParent)
{
}
