#pragma once

#include "platform/ui/Dialog.h"

#include <string>

// Performs one download request (a search, a daily or an hour-by-hour forecast)
// while showing its progress, and ends itself with 1 when the answer was stored
// and read back into the store, 2 otherwise.
class CDlgDownload : public CDialog
{
public:
    explicit CDlgDownload(CWnd* pParent = nullptr);

    std::wstring m_strTitle;      // set by the caller
    int m_nKind = 0;              // DOWNLOAD_SEARCH, DOWNLOAD_DAILY or DOWNLOAD_HOURLY
    std::wstring m_strArgument;   // search text or station ID
    std::wstring m_strMessage;    // drawn at the top of the dialog
};
