#pragma once

#include "platform/WinTypes.h"

#include <string>

class CCommandBar;
class CWnd;

// What every dialog of the application shares: its soft-key bar, the place of
// its heading and its message boxes.
class CDialogCommon
{
public:
    // Creates the command bar and inserts the menu bar resource; false when either
    // fails, and the dialog then skips its own initialisation.
    static bool CreateMenuBar(CWnd* pDlg, CCommandBar& commandBar, UINT nMenuBarID);

    // The heading label 1005 across the top: x 5, y 5, client width - 10 wide.
    static void PlaceHeading(CWnd* pDlg, int cx, int nHeight = 16);

    // The text comes from the string table when the box is shown; the caption is
    // literal. Styles: MB_ICONEXCLAMATION, MB_ICONINFORMATION,
    // MB_YESNO | MB_ICONQUESTION, MB_OKCANCEL | MB_ICONEXCLAMATION.
    static int MessageBox(CWnd* pOwner, UINT nStringID, const std::wstring& strCaption, UINT nType);
};
