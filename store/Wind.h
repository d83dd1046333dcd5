#pragma once

class TiXmlElement;

// One "wind" element of the feed.
class CWind
{
public:
    CWind() = default;
    ~CWind();
    CWind(const CWind&) = delete;
    CWind& operator=(const CWind&) = delete;

    void ReadXml(const TiXmlElement* pElement);

    int m_nDirection = 0;             // degrees
    char* m_pszDirection = nullptr;   // direction in words, the document's bytes
    int m_nGust = 0;                  // the feed's unit, NA_VALUE for "N/A"
    int m_nSpeed = 0;                 // km/h, NA_VALUE for "N/A"
};
