#pragma once

#include "platform/ui/Wnd.h"

#include <string>

constexpr int LB_ERR = -1;

class CListBox : public CWnd
{
public:
    int AddString(const std::wstring& str);
    int InsertString(int nIndex, const std::wstring& str);   // -1: at the end
    int DeleteString(int nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;   // LB_ERR when none
    int SetCurSel(int nSelect);
    void GetText(int nIndex, std::wstring& str) const;
};
