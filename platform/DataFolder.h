#pragma once

#include <string>

// The folder that holds the program's files: the folder of the executable, so
// that a program run from its build folder, or copied elsewhere, keeps its
// stations and settings beside it. An installed program, or one whose folder
// cannot be written, uses $XDG_DATA_HOME/cirrovan (default
// ~/.local/share/cirrovan) instead, created on first use.
class CDataFolder
{
public:
    // Without a trailing '/'; empty when the executable's path has no '/'.
    static std::wstring Get();

    // The executable's path cut at its last '/' (no '/': empty).
    static std::wstring ExeFolder();

    // An installed program's folder, which is never the data folder, whoever
    // runs it (root can write there): the bin folder of the install prefix the
    // program was built for, or any bin folder with the program's desktop entry
    // installed beside it (../share/applications/cirrovan.desktop), wherever
    // the files were installed to.
    static bool IsInstalledFolder(const std::wstring& strFolder);
    static std::wstring InstallBinFolder();
};
