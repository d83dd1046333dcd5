// The number readers of the stored files and of the feed: atoi-like integers
// kept within 32 bits, and decimals that are always finite.
#include "store/FeedReader.h"
#include "store/NumberText.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CNumberText::ToInt(text.c_str());
    if (CFeedReader::Integer(text.c_str()) == INT_MIN)
        __builtin_trap();
    if (!std::isfinite(CFeedReader::Decimal(text.c_str())))
        __builtin_trap();
    return 0;
}
