#include "platform/Translate.h"

#include "platform/CodePage.h"
#include "platform/ExePath.h"

#include <clocale>
#include <libintl.h>
#include <sys/stat.h>

namespace {

const char kDomain[] = "cirrovan";

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where the catalogues are: the build folder's own tree when the program runs
// from there, else the install prefix's, found from where the executable sits
// so that a relocated install finds its own; the build tree as compiled in for
// the tests and tools that run from elsewhere.
std::string CatalogueFolder()
{
    std::string exe = CCodePage::Encode(CExePath::Get());
    std::string::size_type slash = exe.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : exe.substr(0, slash);
    if (IsFolder(dir + "/locale"))
        return dir + "/locale";
    const std::string bindir = CIRROVAN_BINDIR;
    if (dir.size() > bindir.size() && dir.compare(dir.size() - bindir.size(), bindir.size(), bindir) == 0 &&
        dir[dir.size() - bindir.size() - 1] == '/') {
        std::string installed = dir.substr(0, dir.size() - bindir.size()) + CIRROVAN_LOCALEDIR;
        if (IsFolder(installed))
            return installed;
    }
    if (IsFolder(CIRROVAN_BUILD_LOCALEDIR))
        return CIRROVAN_BUILD_LOCALEDIR;
    return CIRROVAN_INSTALL_LOCALEDIR;
}

std::wstring Decoded(const char* psz)
{
    return CCodePage::Decode(psz);
}

}   // namespace

void InitTranslations()
{
    // Only the messages' category: numbers and dates are set up where they are
    // formatted, and files are written free of the locale.
    // A locale the system lacks means English, whatever was chosen before.
    if (std::setlocale(LC_MESSAGES, "") == nullptr)
        std::setlocale(LC_MESSAGES, "C");
    bindtextdomain(kDomain, CatalogueFolder().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    textdomain(kDomain);
}

std::wstring Tr(const char* pszEnglish)
{
    // The empty msgid is the catalogue's header, never a text of ours.
    if (pszEnglish == nullptr || *pszEnglish == '\0')
        return std::wstring();
    return Decoded(dgettext(kDomain, pszEnglish));
}

std::wstring Tr(const wchar_t* pszEnglish)
{
    if (pszEnglish == nullptr || *pszEnglish == L'\0')
        return std::wstring();
    const std::string key = CCodePage::Encode(pszEnglish);
    const char* psz = dgettext(kDomain, key.c_str());
    // Untranslated: the text as it came, without a round trip through UTF-8.
    return psz == key.c_str() ? std::wstring(pszEnglish) : Decoded(psz);
}

std::wstring TrC(const char* pszContext, const char* pszEnglish)
{
    if (pszEnglish == nullptr || *pszEnglish == '\0')
        return std::wstring();
    // gettext keeps a context as "context\004msgid"; without a translation the
    // key itself comes back, and the English text is what follows the context.
    std::string key = std::string(pszContext) + '\004' + pszEnglish;
    const char* psz = dgettext(kDomain, key.c_str());
    if (psz == key.c_str() || std::string(psz) == key)
        return Decoded(pszEnglish);
    return Decoded(psz);
}

std::wstring TrN(const char* pszOne, const char* pszMany, unsigned long n)
{
    return Decoded(dngettext(kDomain, pszOne, pszMany, n));
}
