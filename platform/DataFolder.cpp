#include "platform/DataFolder.h"

#include "platform/CodePage.h"
#include "platform/ExePath.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsWritableFolder(const std::string& folder)
{
    const char* pszPath = folder.empty() ? "/" : folder.c_str();
    struct stat st;
    return stat(pszPath, &st) == 0 && S_ISDIR(st.st_mode) && access(pszPath, W_OK | X_OK) == 0;
}

// mkdir -p; true when the folder exists afterwards.
bool MakeFolders(const std::string& folder)
{
    for (size_t pos = folder.find('/', 1); ; pos = folder.find('/', pos + 1)) {
        std::string part = folder.substr(0, pos);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (pos == std::string::npos)
            break;
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserDataHome()
{
    // Relative values of XDG_DATA_HOME are to be ignored.
    const char* pszXdg = std::getenv("XDG_DATA_HOME");
    if (pszXdg && pszXdg[0] == '/')
        return pszXdg;
    const char* pszHome = std::getenv("HOME");
    std::string home = pszHome && pszHome[0] == '/' ? pszHome : "";
    if (home.empty()) {
        if (const passwd* pw = getpwuid(getuid()))
            if (pw->pw_dir && pw->pw_dir[0] == '/')
                home = pw->pw_dir;
    }
    if (home.empty())
        return std::string();
    return home + "/.local/share";
}

// The folder with links and "." and ".." resolved; as given when it does not exist.
std::string RealFolder(const std::string& folder)
{
    char buffer[PATH_MAX];
    return realpath(folder.c_str(), buffer) ? std::string(buffer) : folder;
}

bool IsFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::wstring CDataFolder::InstallBinFolder()
{
    return CCodePage::Decode(CIRROVAN_INSTALL_BINDIR);
}

bool CDataFolder::IsInstalledFolder(const std::wstring& strFolder)
{
    if (strFolder.empty())
        return false;
    const std::string folder = RealFolder(CCodePage::Encode(strFolder));
    if (folder == RealFolder(CIRROVAN_INSTALL_BINDIR))
        return true;
    const size_t slash = folder.rfind('/');
    return slash != std::string::npos && folder.compare(slash, std::string::npos, "/bin") == 0
           && IsFile(folder.substr(0, slash) + "/share/applications/cirrovan.desktop");
}

std::wstring CDataFolder::ExeFolder()
{
    std::wstring path = CExePath::Get();
    size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring CDataFolder::Get()
{
    std::wstring exeFolder = ExeFolder();
    if (!IsInstalledFolder(exeFolder) && IsWritableFolder(CCodePage::Encode(exeFolder)))
        return exeFolder;
    std::string base = UserDataHome();
    if (base.empty())
        return exeFolder;
    std::string folder = base + "/cirrovan";
    // Should even that fail, the executable's folder is still where files are
    // looked for, so that reading keeps working.
    if (!MakeFolders(folder))
        return exeFolder;
    return CCodePage::Decode(folder);
}
