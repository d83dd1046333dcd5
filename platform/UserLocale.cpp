#include "platform/UserLocale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <map>
#include <mutex>
#include <string>

namespace {

std::string EnvironmentValue(const char* pszName)
{
    const char* psz = std::getenv(pszName);
    return psz ? psz : "";
}

locale_t Build()
{
    locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    // One category at a time, so that a locale installed for one of them
    // still counts when another names one that is not installed.
    for (int nMask : {LC_CTYPE_MASK, LC_TIME_MASK, LC_NUMERIC_MASK}) {
        if (locale_t next = newlocale(nMask, "", loc))
            loc = next;
    }
    return loc;
}

} // namespace

void CUserLocale::KeepProcessNeutral()
{
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
}

locale_t CUserLocale::Get()
{
    // The environment rarely changes, but when it does (a test, a program
    // that sets it), the objects handed out before may still be in use.
    // Never destroyed: a text may be formatted while the process ends.
    static std::mutex& s_lock = *new std::mutex;
    static std::map<std::string, locale_t>& s_built = *new std::map<std::string, locale_t>;
    std::string strKey;
    for (const char* pszName : {"LC_ALL", "LC_CTYPE", "LC_TIME", "LC_NUMERIC", "LANG"})
        strKey += EnvironmentValue(pszName) + '\n';
    std::lock_guard<std::mutex> guard(s_lock);
    locale_t& loc = s_built[strKey];
    if (!loc)
        loc = Build();
    return loc;
}

locale_t CUserLocale::Neutral()
{
    static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return s_locale;
}

bool CUserLocale::NamesAreEnglish()
{
    const locale_t loc = Get();
    return std::strcmp(nl_langinfo_l(DAY_6, loc), "Friday") == 0
        && std::strcmp(nl_langinfo_l(MON_12, loc), "December") == 0;
}
