#include "platform/VarDate.h"

#include "platform/Calendar.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Day number of 30 December 1899 counted from 1 January 1970.
const long long OLE_EPOCH_FROM_UNIX = -25569;
const int MIN_YEAR = 100;
const int MAX_YEAR = 9999;
// 1 January 100 is day -657434, so its times of day lie down to -657434.99999;
// 31 December 9999 is day 2958465.
const double MIN_DATE = -657435.0;
const double MAX_DATE = 2958466.0;

bool IsLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static const int s_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : s_days[m - 1];
}

bool IsRealDay(int y, int m, int d)
{
    return y >= MIN_YEAR && y <= MAX_YEAR && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// The automation value of a calendar day and a time of day (a fraction).
double ToVariantTime(long long day, double timeOfDay)
{
    return day >= 0 ? static_cast<double>(day) + timeOfDay : static_cast<double>(day) - timeOfDay;
}

enum TokenKind { TK_NUMBER, TK_MONTH, TK_AM, TK_PM, TK_TIME_JOIN, TK_DATE_JOIN, TK_SPACE };

struct Token
{
    TokenKind kind;
    int value;   // the number, or the month 1-12
};

const char* const s_monthNames[12] = {
    "january", "february", "march", "april", "may", "june",
    "july", "august", "september", "october", "november", "december",
};

bool ReadWord(const std::string& word, Token& token)
{
    if (word == "am" || word == "a") {
        token.kind = TK_AM;
        return true;
    }
    if (word == "pm" || word == "p") {
        token.kind = TK_PM;
        return true;
    }
    for (int i = 0; i < 12; ++i) {
        if (word == s_monthNames[i] || (word.size() == 3 && word.compare(0, 3, s_monthNames[i], 3) == 0)) {
            token.kind = TK_MONTH;
            token.value = i + 1;
            return true;
        }
    }
    return false;
}

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L',' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool Tokenize(const wchar_t* p, std::vector<Token>& tokens)
{
    while (*p) {
        const wchar_t c = *p;
        if (c >= L'0' && c <= L'9') {
            // No date or time part needs more than nine digits; more cannot be
            // a date and would overflow.
            int value = 0;
            int digits = 0;
            while (*p >= L'0' && *p <= L'9') {
                if (++digits > 9)
                    return false;
                value = value * 10 + static_cast<int>(*p - L'0');
                ++p;
            }
            tokens.push_back({TK_NUMBER, value});
        } else if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) {
            std::string word;
            while ((*p >= L'a' && *p <= L'z') || (*p >= L'A' && *p <= L'Z')) {
                if (word.size() > 16)
                    return false;
                word += static_cast<char>(*p >= L'A' && *p <= L'Z' ? *p - L'A' + L'a' : *p);
                ++p;
            }
            Token token{TK_NUMBER, 0};
            if (!ReadWord(word, token))
                return false;
            tokens.push_back(token);
        } else if (c == L':' || c == L'.') {
            tokens.push_back({TK_TIME_JOIN, 0});
            ++p;
        } else if (c == L'/' || c == L'-') {
            tokens.push_back({TK_DATE_JOIN, 0});
            ++p;
        } else if (IsSpace(c)) {
            if (tokens.empty() || tokens.back().kind != TK_SPACE)
                tokens.push_back({TK_SPACE, 0});
            ++p;
        } else {
            return false;
        }
    }
    return true;
}

// What the text holds, before it is checked against the calendar and the clock.
struct Parts
{
    int date[3] = {0, 0, 0};
    bool isMonthName[3] = {false, false, false};
    int nDate = 0;
    int time[3] = {0, 0, 0};
    int nTime = 0;
    TokenKind meridiem = TK_SPACE;   // TK_AM, TK_PM, or none
};

// Index of the next token that is not a space, or the count.
size_t NextSolid(const std::vector<Token>& tokens, size_t i)
{
    while (i < tokens.size() && tokens[i].kind == TK_SPACE)
        ++i;
    return i;
}

bool Split(const std::vector<Token>& tokens, Parts& parts)
{
    enum Last { LAST_NONE, LAST_DATE, LAST_DATE_JOIN, LAST_TIME, LAST_MERIDIEM };
    Last last = LAST_NONE;
    bool bMonthName = false;
    size_t i = 0;
    while (i < tokens.size()) {
        const Token& token = tokens[i];
        switch (token.kind) {
        case TK_SPACE:
            ++i;
            break;
        case TK_DATE_JOIN:
            if (last != LAST_DATE)
                return false;
            last = LAST_DATE_JOIN;
            ++i;
            break;
        case TK_TIME_JOIN:
            // A time joiner that does not follow an hour: ":30", "Dec. 10".
            return false;
        case TK_AM:
        case TK_PM:
            if (last != LAST_TIME)
                return false;
            parts.meridiem = token.kind;
            last = LAST_MERIDIEM;
            ++i;
            break;
        case TK_MONTH:
            if (bMonthName || parts.nDate == 3)
                return false;
            bMonthName = true;
            parts.isMonthName[parts.nDate] = true;
            parts.date[parts.nDate++] = token.value;
            last = LAST_DATE;
            ++i;
            break;
        case TK_NUMBER: {
            const bool bJoinsTime = i + 1 < tokens.size() && tokens[i + 1].kind == TK_TIME_JOIN;
            const size_t next = NextSolid(tokens, i + 1);
            const bool bHourOnly = next < tokens.size() && (tokens[next].kind == TK_AM || tokens[next].kind == TK_PM);
            if (bJoinsTime || bHourOnly) {
                if (parts.nTime > 0 || last == LAST_DATE_JOIN)
                    return false;
                parts.time[parts.nTime++] = token.value;
                ++i;
                while (i < tokens.size() && tokens[i].kind == TK_TIME_JOIN) {
                    if (parts.nTime == 3 || i + 1 >= tokens.size() || tokens[i + 1].kind != TK_NUMBER)
                        return false;
                    parts.time[parts.nTime++] = tokens[i + 1].value;
                    i += 2;
                }
                last = LAST_TIME;
            } else {
                if (parts.nDate == 3)
                    return false;
                parts.date[parts.nDate++] = token.value;
                last = LAST_DATE;
                ++i;
            }
            break;
        }
        }
    }
    return last != LAST_DATE_JOIN && (parts.nDate > 0 || parts.nTime > 0);
}

int ExpandYear(int year)
{
    if (year < 50)
        return year + 2000;
    if (year < 100)
        return year + 1900;
    return year;
}

// Tries the orders of the date parts; the first real calendar day wins.
bool ResolveDate(const Parts& parts, long long& day)
{
    enum Role { R_MONTH, R_DAY, R_YEAR };
    static const Role s_orders2[2][2] = {{R_MONTH, R_DAY}, {R_DAY, R_MONTH}};
    static const Role s_orders3[3][3] = {
        {R_MONTH, R_DAY, R_YEAR}, {R_YEAR, R_MONTH, R_DAY}, {R_DAY, R_MONTH, R_YEAR}};
    if (parts.nDate != 2 && parts.nDate != 3)
        return false;
    const int nOrders = parts.nDate == 2 ? 2 : 3;
    int currentYear = 0;
    if (parts.nDate == 2)
        currentYear = CClock::GetLocalTime().wYear;
    for (int o = 0; o < nOrders; ++o) {
        const Role* order = parts.nDate == 2 ? s_orders2[o] : s_orders3[o];
        int y = currentYear, m = 0, d = 0;
        bool bFits = true;
        for (int k = 0; k < parts.nDate; ++k) {
            if (parts.isMonthName[k] && order[k] != R_MONTH) {
                bFits = false;
                break;
            }
            if (order[k] == R_MONTH)
                m = parts.date[k];
            else if (order[k] == R_DAY)
                d = parts.date[k];
            else
                y = ExpandYear(parts.date[k]);
        }
        if (bFits && IsRealDay(y, m, d)) {
            day = CCalendar::DaysFromCivil(y, m, d) - OLE_EPOCH_FROM_UNIX;
            return true;
        }
    }
    return false;
}

bool ResolveTime(const Parts& parts, double& timeOfDay)
{
    int h = parts.time[0], m = parts.time[1], s = parts.time[2];
    if (h > 23 || m > 59 || s > 59)
        return false;
    if (h < 13) {
        if (parts.meridiem == TK_AM && h == 12)
            h = 0;
        else if (parts.meridiem == TK_PM && h != 12)
            h += 12;
    }
    timeOfDay = (h * 3600 + m * 60 + s) / 86400.0;
    return true;
}

} // namespace

HRESULT VarDateFromStr(const wchar_t* pszText, unsigned long /*lcid*/, unsigned long dwFlags, double* pdateOut)
{
    if (!pdateOut)
        return E_INVALIDARG;
    *pdateOut = 0.0;
    if (!pszText || ((dwFlags & VAR_TIMEVALUEONLY) && (dwFlags & VAR_DATEVALUEONLY)))
        return E_INVALIDARG;

    std::vector<Token> tokens;
    Parts parts;
    if (!Tokenize(pszText, tokens) || !Split(tokens, parts))
        return DISP_E_TYPEMISMATCH;
    long long day = 0;
    if (parts.nDate > 0 && !ResolveDate(parts, day))
        return DISP_E_TYPEMISMATCH;
    double timeOfDay = 0.0;
    if (parts.nTime > 0 && !ResolveTime(parts, timeOfDay))
        return DISP_E_TYPEMISMATCH;

    if (dwFlags & VAR_TIMEVALUEONLY)
        day = 0;
    else if (dwFlags & VAR_DATEVALUEONLY)
        timeOfDay = 0.0;
    *pdateOut = ToVariantTime(day, timeOfDay);
    return S_OK;
}

int SystemTimeToVariantTime(const SYSTEMTIME* pst, double* pvtime)
{
    if (!pst || !pvtime)
        return 0;
    if (!IsRealDay(pst->wYear, pst->wMonth, pst->wDay) || pst->wHour > 23 || pst->wMinute > 59 || pst->wSecond > 59)
        return 0;
    const long long day = CCalendar::DaysFromCivil(pst->wYear, pst->wMonth, pst->wDay) - OLE_EPOCH_FROM_UNIX;
    *pvtime = ToVariantTime(day, (pst->wHour * 3600 + pst->wMinute * 60 + pst->wSecond) / 86400.0);
    return 1;
}

int VariantTimeToSystemTime(double vtime, SYSTEMTIME* pst)
{
    if (!pst || !(vtime > MIN_DATE && vtime < MAX_DATE))
        return 0;
    long long day = static_cast<long long>(std::trunc(vtime));
    double fraction = std::fabs(vtime - static_cast<double>(day));
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }
    int y, m, d;
    CCalendar::CivilFromDays(day + OLE_EPOCH_FROM_UNIX, y, m, d);
    if (y > MAX_YEAR)
        return 0;
    std::memset(pst, 0, sizeof *pst);
    pst->wYear = static_cast<unsigned short>(y);
    pst->wMonth = static_cast<unsigned short>(m);
    pst->wDay = static_cast<unsigned short>(d);
    // 30 December 1899 was a Saturday.
    pst->wDayOfWeek = static_cast<unsigned short>(((day % 7) + 7 + 6) % 7);
    pst->wHour = static_cast<unsigned short>(seconds / 3600);
    pst->wMinute = static_cast<unsigned short>(seconds / 60 % 60);
    pst->wSecond = static_cast<unsigned short>(seconds % 60);
    return 1;
}
