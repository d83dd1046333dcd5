// The size-checked XML loader on any bytes: it never crashes; the bytes parse
// as the file that holds them loads, since a download checks its answer once
// and the store reads the document that was checked; the one-pass preparation
// gives what its steps give one by one (tests/store/PreparedSteps.h); and the
// shape check measures what the library meets (tests/store/XmlShapeOracle.h).
#include "FuzzFolder.h"
#include "store/XmlFile.h"
#include "testing/PreparedSteps.h"
#include "testing/XmlShapeOracle.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Printed(const TiXmlDocument& doc)
{
    TiXmlPrinter printer;
    doc.Accept(&printer);
    return printer.Str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument parsed;
    const bool bParsed = CXmlFile::Parse(parsed, text);
    WriteFuzzFile("answer.dat", data, size);
    TiXmlDocument loaded;
    if (CXmlFile::Load(loaded, CCodePage::Decode(FuzzFolder() + "/answer.dat")) != bParsed
        || Printed(loaded) != Printed(parsed))
        std::abort();
    const std::string prepared = CXmlFile::Prepare(text);
    if (prepared != PreparedStepByStep(text) || !ShapeDisagreement(prepared).empty())
        std::abort();
    return 0;
}
