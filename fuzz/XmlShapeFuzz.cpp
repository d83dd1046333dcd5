// The shape check against the library on documents built from the pieces that
// decide where the library's nodes end (tests/store/XmlGenerator.h), the
// input's bytes making the builder's choices: byte-level mutation alone seldom
// makes a document the library reads cleanly, where the two must agree exactly.
#include "store/XmlFile.h"
#include "testing/XmlGenerator.h"
#include "testing/XmlShapeOracle.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t nNext = 0;
    auto choose = [&](size_t n) -> size_t {
        size_t value = 0;
        for (int i = 0; i < 2 && nNext < size; ++i)
            value = value << 8 | data[nNext++];
        return value % n;
    };
    CXmlGenerator<decltype(choose)> generator(choose);
    if (!ShapeDisagreement(CXmlFile::Prepare(generator.Document())).empty())
        std::abort();
    return 0;
}
