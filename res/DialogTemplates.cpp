#include "res/ResourceParts.h"

#include "platform/Resources.h"
#include "res/Resource.h"

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE;

const DLGITEMTEMPLATE s_helpItems[] = {
    {IDC_HEADING, CTL_STATIC, kChild | SS_CENTER, L"Help", 0, 2, 132, 8, 0},
    {IDC_HELP_TEXT, CTL_STATIC, kChild | SS_LEFT, L"", 6, 12, 120, 132, 0},
};
const DLGTEMPLATE s_help = {IDD_HELP, L"Help", 0, 134, 148, s_helpItems, 2};

const DLGITEMTEMPLATE s_aboutItems[] = {
    {IDC_HEADING, CTL_STATIC, kChild | SS_CENTER, L"This is Cirrovan 1.00", 5, 6, 153, 8, 0},
    {IDC_ABOUT_TEXT, CTL_EDIT, kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER,
     nullptr, 5, 17, 154, 116, 0},
    {IDC_ABOUT_CREDIT, CTL_STATIC, kChild | SS_BITMAP, nullptr, 70, 139, 47, 20, IDB_SERVICE_CREDIT},
    {IDC_ABOUT_LOGO, CTL_BUTTON, kChild | BS_OWNERDRAW, nullptr, 120, 138, 36, 24, 0},
};
const DLGTEMPLATE s_about = {IDD_ABOUT, L"About Cirrovan", 0, 164, 163, s_aboutItems, 4};

}

void InstallDialogTemplates()
{
    CResources::AddDialog(&s_help);
    CResources::AddDialog(&s_about);
}
