// Settings are loaded and saved at every start and after most dialogs, so the
// pair must stay far below what a user could notice.
#include "platform/CodePage.h"
#include "platform/testing/FakeExePath.h"
#include "platform/ExePath.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// Load and Save in each iteration, or Load alone, to tell the save's flush apart.
void Run(benchmark::State& state, bool bSave)
{
    char buffer[] = "/tmp/cirrovan-bench-XXXXXX";
    if (!mkdtemp(buffer)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string folder = buffer;
    std::filesystem::copy_file(std::string(CIRROVAN_BENCH_DATA) + "/settings.dat", folder + "/settings.dat");
    CFakeExePath::Set(CCodePage::Decode(folder + "/cirrovan"));
    {
        CSettings settings;
        for (auto _ : state) {
            bool bLoaded = settings.Load();
            bool bSaved = bSave && settings.Save();
            benchmark::DoNotOptimize(bLoaded);
            benchmark::DoNotOptimize(bSaved);
        }
        if (settings.m_preferredStations.GetCount() != 5)
            state.SkipWithError("settings did not load");
    }
    CFakeExePath::Set(L"");
    std::filesystem::remove_all(folder);
}

void SettingsLoadSave(benchmark::State& state) { Run(state, true); }
void SettingsLoad(benchmark::State& state) { Run(state, false); }

} // namespace

BENCHMARK(SettingsLoadSave)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(SettingsLoad)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
