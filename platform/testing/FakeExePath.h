#pragma once

#include "platform/ExePath.h"

#include <mutex>
#include <string>

// An executable path of the test's choosing, so that the data files land in a
// folder of their own.
class CFakeExePath : public IExePathSource
{
public:
    // From now on the program's executable is taken to be there; empty: back
    // to the process's own.
    static void Set(const std::wstring& strPath);

    std::wstring Path() const override;

private:
    mutable std::mutex m_mutex;
    std::wstring m_strPath;
};
