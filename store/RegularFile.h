#pragma once

#include <string>

// Opens the program's own files only when they are regular files. Opening a
// named pipe blocks until someone opens its other end, and a device may block,
// never end or act on being opened; at a data path either would stop the
// user-interface thread.
class CRegularFile
{
public:
    // A descriptor opened with the flags (O_RDONLY, O_WRONLY | O_TRUNC, ...;
    // never O_CREAT), or -1 when the path names no regular file or it cannot
    // be opened so. The open itself never waits.
    static int Open(const std::string& strPath, int nFlags);
};
