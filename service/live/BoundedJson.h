#pragma once

#include <nlohmann/json.hpp>

#include <string>

// JSON from elsewhere read within bounds known before anything is built: a
// depth no answer of the source comes near, and a number of values a few
// times that of its largest answer. A document of nested or tiny values costs
// the parser tens of bytes each, so a few megabytes of them would cost
// hundreds; such a document is refused after one pass over its bytes.
class CBoundedJson
{
public:
    static constexpr int MAX_DEPTH = 32;
    static constexpr size_t MAX_VALUES = 200000;

    // The document, or a discarded value (is_discarded) when it is not JSON
    // or goes past the bounds.
    static nlohmann::json Parse(const std::string& strText);
    // Whether the text stays within the bounds (not whether it is JSON).
    static bool WithinBounds(const std::string& strText);
};
