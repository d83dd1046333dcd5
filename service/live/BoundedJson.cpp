#include "service/live/BoundedJson.h"

nlohmann::json CBoundedJson::Parse(const std::string& strText)
{
    if (!WithinBounds(strText))
        return nlohmann::json(nlohmann::json::value_t::discarded);
    return nlohmann::json::parse(strText, nullptr, false);
}

bool CBoundedJson::WithinBounds(const std::string& strText)
{
    int nDepth = 0;
    // Each value but the first follows a bracket, a comma or a colon; counting
    // those counts the values, give or take one per container.
    size_t nValues = 1;
    bool bInString = false;
    bool bEscaped = false;
    for (const char c : strText) {
        if (bInString) {
            if (bEscaped)
                bEscaped = false;
            else if (c == '\\')
                bEscaped = true;
            else if (c == '"')
                bInString = false;
            continue;
        }
        switch (c) {
        case '"':
            bInString = true;
            break;
        case '[':
        case '{':
            if (++nDepth > MAX_DEPTH)
                return false;
            ++nValues;
            break;
        case ']':
        case '}':
            --nDepth;
            break;
        case ',':
        case ':':
            ++nValues;
            break;
        default:
            break;
        }
        if (nValues > MAX_VALUES)
            return false;
    }
    return true;
}
