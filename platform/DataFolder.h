#pragma once

#include <string>

// The folder that holds the program's files: the folder of the executable, so
// that a copied program takes its stations and settings along. A system-wide
// install cannot write there, so it falls back to $XDG_DATA_HOME/cirrovan
// (default ~/.local/share/cirrovan), created on first use.
class CDataFolder
{
public:
    // Without a trailing '/'; empty when the executable's path has no '/'.
    static std::wstring Get();

    // The executable's path cut at its last '/' (no '/': empty).
    static std::wstring ExeFolder();
};
