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
    // A new file of a fresh name beside the target (its name in strTemp),
    // open for writing, with the mode of any new file. The umask is left alone:
    // open applies it, and changing it even for a moment would give a file
    // another thread creates meanwhile the wrong mode. -1 on failure.
    static int CreateBeside(const std::string& strTarget, std::string& strTemp);
    // Whether a file name is one that CreateBeside gives beside a target of
    // that name: the target's name, a dot and eight lower-case hex digits.
    static bool IsTempOf(const std::string& strName, const std::string& strTargetName);
    // Flushes the folder of a file just renamed into it: otherwise a power
    // cut can bring back the old file, or none. A folder that cannot be
    // opened or a file system that cannot flush folders leaves the new file in
    // place all the same; only a failed flush counts as failure.
    static bool FlushFolder(const std::string& strPath);
};
