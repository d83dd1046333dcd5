#pragma once

class TiXmlElement;

// How the forecast records read the feed's texts and numbers, and convert them
// from the service's units.
//
// An element that is present but holds no text carries no value: a field with a
// missing-value marker gets the marker, as for "N/A", and any other numeric
// field reads it as a text without a number, that is 0. An absent "d", "h" or
// "c" attribute gives -1, a number no day, hour or clock hour has, so such a
// record is never found by number nor labelled as if it were the first.
class CFeedReader
{
public:
    // The text of the first child element of that name: false when there is no
    // such child; pszText is null when the child holds no text.
    static bool ChildText(const TiXmlElement* pParent, const char* pszName, const char*& pszText);

    // Leading white space, an optional sign, then digits, as the runtime
    // library's atoi reads them; no number gives 0. Kept within the 32-bit
    // range and never equal to NA_VALUE, which only "N/A" may give.
    static int Integer(const char* pszText);
    // The same with a decimal fraction and exponent, read as in the C locale
    // whatever the process's locale; always finite.
    static double Decimal(const char* pszText);
    // The attribute's integer, or -1 when the attribute is absent.
    static int NumberAttribute(const TiXmlElement* pElement, const char* pszName);

    // A time zone in whole hours, held to the zones that exist (UTC-12 to
    // UTC+14), so that a hostile zone cannot overflow the time arithmetic.
    static int Zone(const char* pszText);
    // An hour's clock hour held to 0 ... 23 for the same reason.
    static int ClockHour(int nClock);

    // True for the exact text "N/A" and for no text at all.
    static bool IsMissing(const char* pszText);

    static double CelsiusFromFahrenheit(double dFahrenheit);
    static int KmhFromMph(int nMph);

    // Replaces the owned copy in psz (freed) by a copy of the text, or by none.
    static void CopyText(char*& psz, const char* pszText);
};
