#pragma once

#include "platform/ui/Wnd.h"

#include <string>

constexpr int CB_ERR = -1;

// A drop-down list.
class CComboBox : public CWnd
{
public:
    int AddString(const std::wstring& str);   // index of the new item
    int InsertString(int nIndex, const std::wstring& str);
    int DeleteString(int nIndex);              // items left, or CB_ERR
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;                     // CB_ERR when none
    int SetCurSel(int nSelect);                // -1 clears; CB_ERR when out of range
    void GetLBText(int nIndex, std::wstring& str) const;
};
