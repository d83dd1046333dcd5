#pragma once

#include <string>

// The executable's own full path. Tests point it elsewhere so that the data
// files land in a folder of their own.
class CExePath
{
public:
    static std::wstring Get();
    static void SetForTest(const std::wstring& strPath);   // empty: back to the real one
};
