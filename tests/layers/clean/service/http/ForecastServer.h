#pragma once

#include "service/feed/ForecastSource.h"
#include "service/places/Places.h"
