#pragma once

class CHourlyForecast;

// The day of the hour-by-hour forecast's first hour, as a date value at its
// midnight: the first hour is the next one of that clock hour after the
// update, so a clock hour before the update's falls on the following day.
// The chart and its words both place the hours from here.
double FirstHourDay(const CHourlyForecast& hourly);
