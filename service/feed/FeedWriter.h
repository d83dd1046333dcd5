#pragma once

#include "service/feed/ForecastRecord.h"

#include <string>
#include <vector>

class CPlace;

// Writes the service's XML answers as the real service shaped them: the
// forecast feed ("weather" with "head", "loc" and a "dayf" or "hbhf"
// section; degrees Fahrenheit, miles per hour, 12-hour clock times), the
// search answer and the error document. UTF-8, names escaped.
class CFeedWriter
{
public:
    static std::string Feed(const CForecastRecord& record);
    static std::string SearchAnswer(const std::vector<const CPlace*>& places);
    static std::string Error(int nType, const std::string& strText);

    // Markup characters as entities: & < > " '.
    static std::string Escape(const std::string& strText);

    // "1:05 PM"
    static std::string ClockTime(const CCivilTime& time);
    // "12/10/26 1:00 PM Local Time"
    static std::string UpdateTime(const CCivilTime& time);
    // "Dec 10"
    static std::string ShortDate(const CCivilTime& time);
    static int Fahrenheit(double dCelsius);
    static int Mph(double dKmh);
    // "WSW" from degrees; the 16 points of the compass.
    static const char* Compass(int nDegrees);
};
