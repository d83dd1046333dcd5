// The size-checked XML loader on any bytes: it never crashes, and its shape
// check measures what the library meets (tests/store/XmlShapeOracle.h).
#include "store/XmlFile.h"
#include "../tests/store/XmlShapeOracle.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument doc;
    CXmlFile::Parse(doc, text);
    if (!ShapeDisagreement(CXmlFile::Prepare(text)).empty())
        std::abort();
    return 0;
}
