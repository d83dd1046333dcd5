#pragma once

#include "platform/ui/Wnd.h"

#include <string>

struct TREEITEM;
typedef TREEITEM* HTREEITEM;

extern HTREEITEM const TVI_ROOT;
extern HTREEITEM const TVI_LAST;

constexpr UINT TVE_EXPAND = 0x0002;

// A tree with check boxes (TVS_CHECKBOXES in the template).
class CTreeCtrl : public CWnd
{
public:
    HTREEITEM InsertItem(const std::wstring& strText, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    bool DeleteAllItems();
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    std::wstring GetItemText(HTREEITEM hItem) const;
    bool GetCheck(HTREEITEM hItem) const;
    bool SetCheck(HTREEITEM hItem, bool bCheck = true);
    bool SetItemData(HTREEITEM hItem, DWORD dwData);
    DWORD GetItemData(HTREEITEM hItem) const;
    bool Expand(HTREEITEM hItem, UINT nCode);
    int GetCount() const;
};
