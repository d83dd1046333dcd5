#pragma once

#include <cfloat>
#include <climits>

// Values the feed gave as "N/A".
const double NA_TEMPERATURE = DBL_MIN;
const int NA_VALUE = INT_MIN;
