#pragma once

#include "platform/Clock.h"
#include "platform/HResult.h"

// OLE automation dates: days since midnight 30 December 1899 as a double, the
// fraction being the time of day. Before that midnight the whole part counts
// down while the fraction still counts the time of day forward, so -1.25 is
// 29 December 1899, 06:00. Dates run from 1 January 100 to 31 December 9999.

const unsigned long VAR_TIMEVALUEONLY = 1;
const unsigned long VAR_DATEVALUEONLY = 2;

const unsigned long LOCALE_USER_DEFAULT = 0x0400;
const unsigned long LOCALE_EN_US = 0x0409;

// Reads a date, a time or both from text the way the platform's automation
// parser does for US English (every locale is read as US English here):
//   numbers, English month names (full or three letters, any case), AM/PM or
//   A/P; ':' and '.' join time parts, '/' and '-' join date parts, white space
//   and commas separate. Three date numbers are tried as month/day/year, then
//   year/month/day, then day/month/year, the first real calendar day winning;
//   two numbers are a day of the current local year (month/day, then day/month).
//   Years 0-49 are 2000-2049 and 50-99 are 1950-1999. A time is h[:m[:s]]
//   (h alone only with AM/PM); 12 AM is hour 0, an hour of 13 or more ignores
//   AM/PM. No date gives day 0, no time gives midnight.
// VAR_TIMEVALUEONLY keeps only the time of day, VAR_DATEVALUEONLY only the date.
// Text that is none of this gives DISP_E_TYPEMISMATCH and 0.0; a null text or
// result, or both value-only flags at once, gives E_INVALIDARG.
HRESULT VarDateFromStr(const wchar_t* pszText, unsigned long lcid, unsigned long dwFlags, double* pdateOut);

// Both ignore milliseconds, as the platform does; nonzero on success. A system
// time outside the range above or with impossible fields fails.
int SystemTimeToVariantTime(const SYSTEMTIME* pst, double* pvtime);
// Rounds to the nearest second; wDayOfWeek is filled, wMilliseconds is 0.
int VariantTimeToSystemTime(double vtime, SYSTEMTIME* pst);
