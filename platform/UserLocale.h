#pragma once

#include <locale.h>

// The user's conventions for what the program shows: the names of days and
// months (LC_TIME) and the decimal separator (LC_NUMERIC), as the environment
// names them (LC_ALL, then LC_TIME or LC_NUMERIC, then LANG).
//
// The rule: the process's own C-library locale keeps LC_NUMERIC and LC_TIME
// at "C" for its whole life, so that every file, feed, log line and request is
// written and read alike in every language (printf, strtod, strftime and the
// stream classes need no care). Text for the user takes the user's conventions
// explicitly from here, never from the process.
class CUserLocale
{
public:
    // Puts LC_NUMERIC and LC_TIME of the process back to "C" once the window
    // toolkit, which sets every category from the environment as it starts,
    // has started; the other categories (characters, messages) stay the user's.
    static void KeepProcessNeutral();

    // The environment's LC_CTYPE, LC_TIME and LC_NUMERIC as a locale object,
    // "C" for a category whose locale is not installed. Follows the
    // environment as it is now; the object lives as long as the process.
    static locale_t Get();

    // The "C" locale as an object, for what is written and read alike in
    // every language whatever the process's locale; null only when the C
    // library cannot make one.
    static locale_t Neutral();

    // Whether that locale names days and months as "C" does, in English.
    static bool NamesAreEnglish();
};
