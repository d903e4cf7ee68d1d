// Saving and loading configuration files of the data control, offscreen,
// over the simulation server under a manual clock: 1,000 and 10,000 items in
// 10 groups, written with WriteConfig and read back with LoadConfig. Both
// must grow linearly: 10,000 items within 12 x the time of 1,000.
//
// Prints the ratios after the runs; exits 1 when a limit is missed.

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/MedianReporter.h"
#include "bench/controls/ControlBenchHost.h"
#include "bench/OffscreenBenchmarkMain.h"
#include "controls/xopc/XOPC.h"
#include "controls/xopc/cCollector.h"
#include "core/cOPCGroup.h"

namespace {

using namespace tagwell;

constexpr int Groups = 10;
constexpr int UpdateRateMs = 1000;
constexpr double LinearLimit = 12;

// A control with `count` generated items spread over 10 groups of one
// server, and a folder for the files.
struct Scene : ControlBenchHost {
    explicit Scene(int count) : ControlBenchHost(count)
    {
        host->show();
        const qint16 server = control->AddNewServer(SimulationBackend::DemoProgId);
        const int perGroup = count / Groups;
        for (int g = 0; g < Groups; ++g) {
            const QString key = control->AddNewGroup(QString("Group %1").arg(g), UpdateRateMs, 0.5f,
                                                     true, true, server);
            // Straight into the group: the setup need not fill the list.
            cOPCGroup& group = *control->Collector()->SelectedOPCGroup;
            for (int i = 1; i <= perGroup; ++i) {
                const std::string itemId = "Bulk.Tag" + std::to_string(g * perGroup + i);
                std::string itemKey;
                group.AddOPCItem(itemId, 0, true, true, i % 2 == 0, itemKey, "Alias " + itemId,
                                 "Tag one", "Tag two");
            }
        }
        file = folder.filePath("config.ini");
    }

    QTemporaryDir folder;
    QString file;
};

void BM_WriteConfig(benchmark::State& state)
{
    Scene scene(int(state.range(0)));
    for (auto _ : state) {
        if (!scene.control->WriteConfig("Bench", scene.file))
            state.SkipWithError("WriteConfig failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteConfig)->ArgName("items")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

void BM_LoadConfig(benchmark::State& state)
{
    Scene scene(int(state.range(0)));
    if (!scene.control->WriteConfig("Bench", scene.file))
        state.SkipWithError("WriteConfig failed");
    for (auto _ : state) {
        if (!scene.control->LoadConfig(scene.file))
            state.SkipWithError("LoadConfig failed");
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadConfig)->ArgName("items")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

class SummaryReporter : public MedianReporter {
public:
    bool printSummary() const
    {
        bool ok = true;
        const auto ratio = [&](const char* what, const std::string& function) {
            const auto a = time(function + "/items:1000"), b = time(function + "/items:10000");
            if (!a || !b)
                return;
            const double r = *b / *a;
            ok = ok && r <= LinearLimit;
            std::printf("  %-40s %10.2f -> %10.2f  ratio %.2f (limit %.0f)  %s\n", what, *a, *b, r,
                        LinearLimit, r <= LinearLimit ? "ok" : "MISSED");
        };
        std::printf("\nSummary\n");
        ratio("save, 1,000 -> 10,000 items (ms):", "BM_WriteConfig");
        ratio("load, 1,000 -> 10,000 items (ms):", "BM_LoadConfig");
        return ok;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksOffscreen<SummaryReporter>(
        argc, argv, [](SummaryReporter& reporter) { return reporter.printSummary(); });
}
