#pragma once

#include "platform/ui/Wnd.h"

#include <string>

struct TREEITEM;
typedef TREEITEM* HTREEITEM;

extern HTREEITEM const TVI_ROOT;
extern HTREEITEM const TVI_LAST;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;

// GetNextItem's relations.
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_CARET = 0x0009;   // the selected item

// What the tree tells its parent through WM_NOTIFY: NM_CLICK (a tap anywhere in
// it, before the tap takes effect) and TVN_SELCHANGED (another item selected, by
// the user or by SelectItem), whose NMHDR is the start of an NMTREEVIEW.
constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-451);
constexpr UINT TVC_UNKNOWN = 0;       // SelectItem
constexpr UINT TVC_BYMOUSE = 1;
constexpr UINT TVC_BYKEYBOARD = 2;

struct TVITEM
{
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPARAM lParam;   // the item's data
};

struct NMTREEVIEW
{
    NMHDR hdr;
    UINT action;   // TVC_...
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};

// A tree; with TVS_CHECKBOXES in the template every item has a check box, which
// a tap on it toggles. Items are answered for only while they are in the tree: a
// handle of a deleted item names nothing. Runs on the user-interface thread.
class CTreeCtrl : public CWnd
{
public:
    HTREEITEM InsertItem(const std::wstring& strText, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    bool DeleteAllItems();
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
    HTREEITEM GetSelectedItem() const;
    // Selects the item (null: none) and tells the parent, as the platform does.
    bool SelectItem(HTREEITEM hItem);
    std::wstring GetItemText(HTREEITEM hItem) const;
    bool GetCheck(HTREEITEM hItem) const;
    bool SetCheck(HTREEITEM hItem, bool bCheck = true);
    bool SetItemData(HTREEITEM hItem, DWORD dwData);
    DWORD GetItemData(HTREEITEM hItem) const;
    bool Expand(HTREEITEM hItem, UINT nCode);
    int GetCount() const;
};
