#pragma once

#include <cstdio>

// The diagnostic log: on only when a file of the given name already lies in
// the data folder. Every start empties it; each entry is stamped with the UTC
// time as "[hh:mm:ss] " and flushed at once, so a crash loses nothing. The text
// is written as UTF-8.
class CLogFile
{
public:
    // A null name leaves the log off.
    explicit CLogFile(const wchar_t* pszName);
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // A wide format with the platform's meaning of the conversions (CWideFormat);
    // no line break is added.
    void Printf(const wchar_t* pszFormat, ...);

    bool IsOn() const { return m_pFile != nullptr; }

    FILE* m_pFile = nullptr;
};
