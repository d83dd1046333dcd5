// The guarded load of the costliest documents we could build up to the size
// cap: none may keep the user-interface thread long, since a forecast file is
// read at start-up. Each is parsed from memory, as the file loader hands it on.
#include "store/XmlFile.h"

#include "testing/PathologicalDocuments.h"

#include <benchmark/benchmark.h>
#include <tinyxml.h>

namespace {

void GuardedParse(benchmark::State& state, const PathologicalDocument* pDocument)
{
    bool bLoaded = false;
    for (auto _ : state) {
        TiXmlDocument doc;
        bLoaded = CXmlFile::Parse(doc, pDocument->text);
        benchmark::DoNotOptimize(bLoaded);
    }
    if (bLoaded != pDocument->bLoads)
        state.SkipWithError("the document was not refused or loaded as expected");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pDocument->text.size()));
}

const std::vector<PathologicalDocument>& Documents()
{
    static const std::vector<PathologicalDocument> s_documents = PathologicalDocuments();
    return s_documents;
}

const int s_registered = [] {
    for (const PathologicalDocument& document : Documents()) {
        benchmark::RegisterBenchmark(("GuardedParse/" + std::string(document.pszName)).c_str(),
                                     GuardedParse, &document)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

} // namespace
