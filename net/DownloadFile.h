#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The answer of a download on its way into its file. It is received into a
// temporary file beside the target, which replaces the target only once the
// whole answer is in and on disk; until then the target stays as it was, and a
// download that fails or is cancelled leaves no temporary file behind.
class CDownloadFile
{
public:
    explicit CDownloadFile(const std::wstring& strTarget);
    ~CDownloadFile();   // removes the temporary file unless it was committed
    CDownloadFile(const CDownloadFile&) = delete;
    CDownloadFile& operator=(const CDownloadFile&) = delete;

    // Creates the temporary file ("<target>.XXXXXX"); false when the folder
    // cannot take it.
    bool Create();
    // Buffered: the answer's small blocks reach the disk in large writes.
    bool Write(const void* pData, size_t nSize);
    // Everything written so far is in the temporary file, readable under
    // m_strTemp; false when any write failed.
    bool Flush();
    // On disk, then renamed over the target in one step. False, with the
    // target untouched and the temporary file removed, on any failure.
    bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

    std::wstring m_strTarget;
    std::wstring m_strTemp;     // empty until created and after commit or discard
    FILE* m_pFile = nullptr;
    std::vector<char> m_buffer;   // the stream's: stdio takes the size only with the memory
    bool m_bWriteFailed = false;
};
