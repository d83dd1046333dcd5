#include "platform/Resources.h"
#include "platform/testing/TestDriver.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/TreeCtrl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const UINT IDD_CONTROLS = 60300;
const UINT IDC_COMBO = 4001, IDC_LIST = 4002, IDC_TREE = 4003, IDC_PROGRESS = 4004, IDC_EDIT = 4005,
           IDC_LINE = 4006;
const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DLGITEMTEMPLATE s_items[] = {
    {IDC_COMBO, CTL_COMBOBOX, kChild | CBS_DROPDOWNLIST | WS_VSCROLL, nullptr, 0, 0, 100, 80, 0},
    {IDC_LIST, CTL_LISTBOX, kChild | LBS_NOTIFY | WS_VSCROLL | WS_BORDER, nullptr, 0, 16, 100, 40, 0},
    {IDC_TREE, CTL_TREE, kChild | TVS_CHECKBOXES | WS_BORDER, nullptr, 0, 60, 100, 40, 0},
    {IDC_PROGRESS, CTL_PROGRESS, kChild, nullptr, 0, 104, 100, 8, 0},
    {IDC_EDIT, CTL_EDIT, kChild | ES_MULTILINE | ES_READONLY | WS_VSCROLL, L"a\r\nb", 0, 114, 100, 30, 0},
    {IDC_LINE, CTL_EDIT, kChild | WS_BORDER, L"Oslo", 0, 146, 100, 12, 0},
};
const DLGTEMPLATE s_controls = {IDD_CONTROLS, L"Controls", 0, 160, 164, s_items, 6};

class CControlsDlg : public CDialog
{
public:
    CControlsDlg() : CDialog(IDD_CONTROLS) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_COMBO, m_combo);
        DDX_Control(pDX, IDC_LIST, m_list);
        DDX_Control(pDX, IDC_TREE, m_tree);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
        DDX_Control(pDX, IDC_EDIT, m_edit);
        DDX_Control(pDX, IDC_LINE, m_line);
    }
    bool OnCommand(UINT nID, UINT nNotifyCode) override
    {
        m_notes.push_back(std::to_string(nID) + ":" + std::to_string(nNotifyCode));
        return CDialog::OnCommand(nID, nNotifyCode);
    }
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        EXPECT_EQ(pHdr->idFrom, static_cast<UINT>(wParam));
        if (pHdr->code == NM_CLICK) {
            m_treeNotes.push_back("click");
        } else if (pHdr->code == TVN_SELCHANGED) {
            auto* pTree = reinterpret_cast<NMTREEVIEW*>(lParam);
            m_treeNotes.push_back("select " + std::to_string(pTree->action) + " "
                                  + FromHandle(pTree->itemOld.hItem) + ">" + FromHandle(pTree->itemNew.hItem));
        }
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    std::string FromHandle(HTREEITEM hItem)
    {
        std::wstring text = hItem ? m_tree.GetItemText(hItem) : L"none";
        return std::string(text.begin(), text.end());
    }
    CComboBox m_combo;
    CListBox m_list;
    CTreeCtrl m_tree;
    CProgressCtrl m_progress;
    CEdit m_edit;
    CEdit m_line;
    std::vector<std::string> m_notes;
    std::vector<std::string> m_treeNotes;
};

TEST(Controls, WrappersDriveTheirControlsAndOnlyTheUserNotifies)
{
    CResources::AddDialog(&s_controls);
    CTestDriver::Install();
    CControlsDlg dlg;
    CTestDriver::OnDialogOpen(IDD_CONTROLS, [&](CDialog* pDlg) {
        // Drop-down list: unsorted, no selection after emptying.
        EXPECT_EQ(dlg.m_combo.AddString(L"Oslo"), 0);
        EXPECT_EQ(dlg.m_combo.AddString(L"Bergen"), 1);
        EXPECT_EQ(dlg.m_combo.InsertString(0, L"Alta"), 0);
        EXPECT_EQ(dlg.m_combo.SetCurSel(2), 2);
        std::wstring text;
        dlg.m_combo.GetLBText(dlg.m_combo.GetCurSel(), text);
        EXPECT_EQ(text, L"Bergen");
        EXPECT_EQ(dlg.m_combo.SetCurSel(9), CB_ERR);
        EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR);
        CTestDriver::SelectItem(IDC_COMBO, 1);
        EXPECT_EQ(dlg.m_combo.GetCurSel(), 1);
        EXPECT_EQ(dlg.m_combo.DeleteString(0), 2);
        dlg.m_combo.ResetContent();
        EXPECT_EQ(dlg.m_combo.GetCount(), 0);
        EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR);

        // List box.
        dlg.m_list.AddString(L"-- please add at least 1 station --");
        EXPECT_EQ(dlg.m_list.GetCurSel(), LB_ERR);
        dlg.m_list.ResetContent();
        dlg.m_list.AddString(L"Oslo");
        dlg.m_list.AddString(L"Bergen");
        dlg.m_list.SetCurSel(1);
        EXPECT_EQ(dlg.m_list.GetCurSel(), 1);
        CTestDriver::SelectItem(IDC_LIST, 0);
        EXPECT_EQ(dlg.m_list.GetCurSel(), 0);
        EXPECT_EQ(dlg.m_list.DeleteString(0), 1);
        dlg.m_list.GetText(0, text);
        EXPECT_EQ(text, L"Bergen");
        EXPECT_EQ(dlg.m_list.DeleteString(5), LB_ERR);

        // Tree with check boxes.
        HTREEITEM hOslo = dlg.m_tree.InsertItem(L"Oslo");
        HTREEITEM hBergen = dlg.m_tree.InsertItem(L"Bergen");
        dlg.m_tree.SetItemData(hBergen, 7);
        dlg.m_tree.SetCheck(hBergen, true);
        EXPECT_EQ(dlg.m_tree.GetRootItem(), hOslo);
        EXPECT_EQ(dlg.m_tree.GetNextSiblingItem(hOslo), hBergen);
        EXPECT_EQ(dlg.m_tree.GetNextSiblingItem(hBergen), nullptr);
        EXPECT_FALSE(dlg.m_tree.GetCheck(hOslo));
        EXPECT_TRUE(dlg.m_tree.GetCheck(hBergen));
        EXPECT_EQ(dlg.m_tree.GetItemData(hBergen), 7u);
        EXPECT_EQ(dlg.m_tree.GetItemText(hBergen), L"Bergen");
        EXPECT_EQ(dlg.m_tree.GetCount(), 2);
        dlg.m_tree.DeleteAllItems();
        EXPECT_EQ(dlg.m_tree.GetRootItem(), nullptr);

        // Progress: a 16-bit range, the position kept inside it.
        dlg.m_progress.SetRange(0, 32767);
        int lo = 0, hi = 0;
        dlg.m_progress.GetRange(lo, hi);
        EXPECT_EQ(hi, 32767);
        dlg.m_progress.SetPos(40000);
        EXPECT_EQ(dlg.m_progress.GetPos(), 32767);

        // Edits: lines end in "\r\n" as on the device; the selection can be removed.
        EXPECT_EQ(dlg.m_edit.GetWindowText(), L"a\r\nb");
        dlg.m_edit.SetSel(0, -1);
        EXPECT_TRUE(dlg.m_edit.HasSelection());
        dlg.m_edit.SetSel(-1, 0);
        EXPECT_FALSE(dlg.m_edit.HasSelection());
        EXPECT_EQ(dlg.m_line.GetWindowText(), L"Oslo");
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // Only the two picks made by the user reached the dialog.
    EXPECT_EQ(dlg.m_notes, (std::vector<std::string>{"4001:1", "4002:1"}));
    CTestDriver::Uninstall();
}

}

namespace {

TEST(Controls, ProgressRangesHoldTheWholeAnswer)
{
    CResources::AddDialog(&s_controls);
    CTestDriver::Install();
    struct Case
    {
        DWORD dwUpper;
        DWORD dwPos;
    };
    // Three quarters of the way each time: the bar is drawn filled to there.
    const Case cases[] = {{40000, 30000}, {1000000, 750000}, {0xffffffffu, 0xbfffffffu}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwUpper);
        CControlsDlg dlg;
        CTestDriver::OnDialogOpen(IDD_CONTROLS, [&](CDialog* pDlg) {
            dlg.m_progress.SetRange32(0, static_cast<int>(c.dwUpper));
            int lo = -1, hi = 0;
            dlg.m_progress.GetRange(lo, hi);
            EXPECT_EQ(lo, 0);
            EXPECT_EQ(static_cast<DWORD>(hi), c.dwUpper);
            EXPECT_EQ(dlg.m_progress.SetPos(static_cast<int>(c.dwPos)), 0);
            EXPECT_EQ(static_cast<DWORD>(dlg.m_progress.GetPos()), c.dwPos);
            // The old platform call's signature takes the same values.
            dlg.m_progress.SetRange(0, c.dwUpper);
            dlg.m_progress.GetRange(lo, hi);
            EXPECT_EQ(static_cast<DWORD>(hi), c.dwUpper);

            std::string path = testing::TempDir() + "cirrovan_progress.png";
            std::wstring wpath(path.begin(), path.end());
            ASSERT_TRUE(CTestDriver::SaveScreenshot(wpath));
            CBitmap shot;
            ASSERT_TRUE(shot.LoadPng(wpath));
            std::remove(path.c_str());
            RECT rc;
            pDlg->GetDlgItem(IDC_PROGRESS)->GetWindowRect(&rc);
            const int y = 26 + (rc.top + rc.bottom) / 2, w = rc.right - rc.left;
            COLORREF filled = shot.GetPixel(rc.left + w / 10, y);
            EXPECT_EQ(shot.GetPixel(rc.left + w * 6 / 10, y), filled);
            EXPECT_NE(shot.GetPixel(rc.left + w * 9 / 10, y), filled);
            pDlg->EndDialog(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    CTestDriver::Uninstall();
}

TEST(Controls, TreeCheckBoxesAndSelectionFollowTheUsersTaps)
{
    CResources::AddDialog(&s_controls);
    CTestDriver::Install();
    CControlsDlg dlg;
    CTestDriver::OnDialogOpen(IDD_CONTROLS, [&](CDialog* pDlg) {
        const wchar_t* names[] = {L"Oslo", L"Bergen", L"Alta"};
        std::vector<HTREEITEM> items;
        for (const wchar_t* name : names)
            items.push_back(dlg.m_tree.InsertItem(name));
        // Enumeration, as the update dialog walks the stations.
        std::vector<std::wstring> walked;
        for (HTREEITEM h = dlg.m_tree.GetRootItem(); h; h = dlg.m_tree.GetNextItem(h, TVGN_NEXT))
            walked.push_back(dlg.m_tree.GetItemText(h));
        EXPECT_EQ(walked, (std::vector<std::wstring>{L"Oslo", L"Bergen", L"Alta"}));
        EXPECT_EQ(dlg.m_tree.GetPrevSiblingItem(items[1]), items[0]);
        EXPECT_EQ(dlg.m_tree.GetParentItem(items[1]), nullptr);
        EXPECT_EQ(dlg.m_tree.GetSelectedItem(), nullptr);

        // A tap on a check box ticks it, a second one unticks it.
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_TREE, 1, true));
        EXPECT_TRUE(dlg.m_tree.GetCheck(items[1]));
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_TREE, 2, true));
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_TREE, 1, true));
        EXPECT_FALSE(dlg.m_tree.GetCheck(items[0]));
        EXPECT_FALSE(dlg.m_tree.GetCheck(items[1]));
        EXPECT_TRUE(dlg.m_tree.GetCheck(items[2]));
        EXPECT_FALSE(CTestDriver::TapTreeItem(IDC_TREE, 3, true));

        // A tap on the text selects; SelectItem selects and tells the parent too.
        dlg.m_treeNotes.clear();
        EXPECT_TRUE(CTestDriver::TapTreeItem(IDC_TREE, 0, false));
        EXPECT_EQ(dlg.m_tree.GetSelectedItem(), items[0]);
        EXPECT_FALSE(dlg.m_tree.GetCheck(items[0]));
        EXPECT_TRUE(dlg.m_tree.SelectItem(items[2]));
        EXPECT_EQ(dlg.m_tree.GetNextItem(nullptr, TVGN_CARET), items[2]);
        EXPECT_EQ(dlg.m_treeNotes, (std::vector<std::string>{"select 1 none>Oslo", "click", "select 0 Oslo>Alta"}));

        // Handles of deleted items name nothing.
        dlg.m_tree.DeleteAllItems();
        EXPECT_EQ(dlg.m_tree.GetItemText(items[0]), L"");
        EXPECT_FALSE(dlg.m_tree.GetCheck(items[2]));
        EXPECT_FALSE(dlg.m_tree.SetCheck(items[2], true));
        EXPECT_EQ(dlg.m_tree.GetNextItem(items[0], TVGN_NEXT), nullptr);
        pDlg->EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CTestDriver::Uninstall();
}

}
