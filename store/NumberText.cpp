#include "store/NumberText.h"

#include <tinyxml.h>

#include <climits>
#include <cstdlib>

int CNumberText::ToInt(const char* pszText)
{
    if (!pszText)
        return 0;
    long long n = std::strtoll(pszText, nullptr, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

int CNumberText::Attribute(const TiXmlElement* pElement, const char* pszName)
{
    return ToInt(pElement->Attribute(pszName));
}

bool CNumberText::BoolAttribute(const TiXmlElement* pElement, const char* pszName)
{
    return Attribute(pElement, pszName) != 0;
}
