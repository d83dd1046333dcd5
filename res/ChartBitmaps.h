#pragma once

// The chart's pictures in res/bitmaps, drawn by tools/DrawArtwork.cpp.
constexpr unsigned int IDB_HEAD_TEMPERATURES = 144;    // thermometer, 32 x 26
constexpr unsigned int IDB_HEAD_WIND = 145;            // wind sock, 32 x 26
constexpr unsigned int IDB_HEAD_PRECIPITATIONS = 146;  // rain cloud, 32 x 26
constexpr unsigned int IDB_WEATHER_ICONS = 147;        // 49 icons of 28 x 28, key RGB(255, 153, 255)
constexpr unsigned int IDB_WIND_ARROWS = 148;          // 16 arrows of 16 x 16, same key
