#pragma once

#include <string>

// Where the executable's path comes from.
class IExePathSource
{
public:
    virtual ~IExePathSource() = default;
    virtual std::wstring Path() const = 0;
};

// The executable's own full path, from which the data folder follows: the
// process's own, unless the program is handed another source when it starts.
class CExePath
{
public:
    static std::wstring Get();
    // The source from now on; nullptr: the process's own. The caller keeps it
    // alive while it is in use.
    static void Use(const IExePathSource* pSource);
};
