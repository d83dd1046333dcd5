#pragma once

#include <string>

// What a download job shows while it runs: the download dialog's lines and
// bar. Called from the job's worker and from the HTTP layer's thread; the one
// who shows them hands the texts to the user-interface thread.
class CDownloadProgress
{
public:
    virtual void ShowStatus(const std::wstring& strText) = 0;           // connection and transfer
    virtual void ShowInternetStatus(const std::wstring& strText) = 0;   // the HTTP layer's notices
    virtual void ShowRange(int nUpper) = 0;                             // bytes expected
    virtual void ShowPosition(int nPos) = 0;                            // bytes received
    // The job's last call: its outcome is ready once the worker has ended.
    virtual void Finished() = 0;

protected:
    ~CDownloadProgress() = default;
};
