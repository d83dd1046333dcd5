#pragma once

#include "settings/CustomView.h"
#include "store/PointerArray.h"
#include "store/Station.h"

#include <string>

class TiXmlDocument;

// The user's choices and the state that survives a restart, kept in
// "settings.dat" in the data folder.
class CSettings
{
public:
    // Defaults; reads nothing.
    CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // False when the file is missing, unreadable or not well-formed, or has no
    // root element; every member then keeps its value. Otherwise each known
    // element found sets the members it carries, an absent attribute giving 0.
    bool Load();
    // The same for a document that CXmlFile has parsed (a document it
    // refused, which it leaves empty, has no root element).
    bool Read(const TiXmlDocument& doc);
    // Writes every stored member; the old file is replaced only by a complete new one.
    bool Save();

    std::wstring m_strPath;          // data folder + "/settings.dat"
    int m_nWindUnit;                 // 0 km/h, 1 mph, 2 m/s, 3 knots, 4 Beaufort
    bool m_bShowZero;                // the wind scale always reaches down to 0
    int m_nTempUnit;                 // 0 Celsius, 1 Fahrenheit
    bool m_bDisconnect;              // hang up after an update
    CCustomView m_views[3];
    int m_nCurrentView;              // 0 to 2
    int m_bDaily;                    // 1 daily, 0 hour-by-hour
    CStation m_currentStation;
    int m_nOrientation;              // display orientation code: 0, 1 (90), 2 (180), 4 (270)
    CPointerArray<CStation> m_preferredStations;   // ticked in the last update, owned

    // The view and the chart's kind as the last successful Save or Load left
    // them in the file: the main window saves on Quit only when they differ.
    int m_nStoredView;
    int m_bStoredDaily;
};
