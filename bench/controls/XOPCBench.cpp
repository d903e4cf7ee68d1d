// Speed and memory of the data control XOPC, offscreen, over the simulation
// server under a manual clock:
//
//   display update   one RefreshItemList of a shown group of 100 and of
//                    100,000 items, with the stored values of the rows on
//                    screen changed before each update (limit: 1.3 x);
//   list filling     ShowGroupItems of 10,000 and of 100,000 items (limit 12 x);
//   data events      a data change of 100,000 items reaching ItemDataUpdate
//                    with a connected handler (limit: 500,000 updates/s);
//   memory           heap bytes per item with 100,000 items in the list.
//
// Prints the ratios and figures after the runs; exits 1 when a limit is missed.

#include <QWidget>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/MedianReporter.h"
#include "bench/controls/ControlBenchHost.h"
#include "bench/OffscreenBenchmarkMain.h"
#include "automation/sim/SimulationBackend.h"
#include "controls/xopc/XOPC.h"
#include "controls/xopc/cCollector.h"
#include "core/MCollector.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "platform/ManualDispatcher.h"
#include "platform/Services.h"
#include "platform/qt/DialogRunner.h"
#include "timer/CPacetick.h"

namespace {

using namespace tagwell;

constexpr int UpdateRateMs = 100;
constexpr int RowsTouchedPerUpdate = 64;  // more than a page of the list
constexpr double DisplayLimit = 1.3;
constexpr double FillLimit = 12;
constexpr double EventRateLimit = 500000;

size_t heapInUse() { return mallinfo2().uordblks; }

// A control in a window of the design size with one group of `count`
// generated ramps on the simulation server, all added and the list filled.
struct Scene : ControlBenchHost {
    explicit Scene(int count, bool receiveItemEvents = false) : ControlBenchHost(count)
    {
        control->setReceiveItemUpdateEvents(receiveItemEvents);
        host->show();
        const qint16 server = control->AddNewServer(SimulationBackend::DemoProgId);
        control->AddNewGroup("Bulk", UpdateRateMs, 0, true, true, server);
        heapBeforeItems = heapInUse();
        group = control->Collector()->SelectedOPCGroup;
        for (int n = 1; n <= count; ++n) {
            std::string key;
            group->AddOPCItem("Bulk.Tag" + std::to_string(n), 0, true, true, false, key);
            if (receiveItemEvents)
                (*group->GetOPCGroupItemsCollection().find(" " + std::to_string(n)))->SetItemOwner(control);
        }
        heapWithItems = heapInUse();
        control->ShowGroupItems();
        heapWithList = heapInUse();
        QCoreApplication::processEvents();
    }

    void advance(int ms) { clock.advance(std::chrono::milliseconds(ms)); }

    std::shared_ptr<cOPCGroup> group;
    size_t heapBeforeItems = 0;
    size_t heapWithItems = 0;
    size_t heapWithList = 0;
};

std::map<std::string, double> g_figures;

void BM_DisplayUpdate(benchmark::State& state)
{
    const int count = int(state.range(0));
    Scene scene(count);
    scene.control->StartDisplayUpdate(250);
    std::vector<cOPCItem*> onScreen;
    for (auto& entry : scene.group->GetOPCGroupItemsCollection()) {
        if (int(onScreen.size()) == std::min(count, RowsTouchedPerUpdate))
            break;
        onScreen.push_back(entry.value.get());
    }
    double value = 0;
    scene.control->RefreshItemList();
    for (auto _ : state) {
        state.PauseTiming();
        value += 1;
        for (cOPCItem* item : onScreen)
            item->UpdateOPCItemData(Variant(value), 192, 46027.5 + value / 86400);
        state.ResumeTiming();
        scene.control->RefreshItemList();
    }
}
BENCHMARK(BM_DisplayUpdate)->ArgName("items")->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ShowGroupItems(benchmark::State& state)
{
    Scene scene(int(state.range(0)));
    for (auto _ : state) {
        scene.control->ShowGroupItems();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ShowGroupItems)->ArgName("items")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

void BM_ItemDataUpdate(benchmark::State& state)
{
    const int count = int(state.range(0));
    Scene scene(count, true);
    int64_t received = 0;
    double sum = 0;
    QObject::connect(scene.control, &XOPC::ItemDataUpdate, scene.control,
                     [&](const QString& alias, const QString& itemId, const Variant& value,
                         double timeDate, qint32 quality) {
                         ++received;
                         sum += timeDate + quality + alias.size() + itemId.size();
                         benchmark::DoNotOptimize(value);
                     });
    scene.advance(UpdateRateMs);  // the first change, with every value new
    received = 0;
    for (auto _ : state)
        scene.advance(UpdateRateMs);
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(received);
    state.counters["events_per_change"] = double(received) / double(state.iterations());
}
BENCHMARK(BM_ItemDataUpdate)->ArgName("items")->Arg(100000)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);

class SummaryReporter : public MedianReporter {
public:
    bool printSummary() const
    {
        bool ok = true;
        const auto ratio = [&](const char* what, const std::string& small, const std::string& large,
                               double limit) {
            const auto a = time(small), b = time(large);
            if (!a || !b)
                return;
            const double r = *b / *a;
            ok = ok && r <= limit;
            std::printf("  %-44s %10.2f -> %10.2f  ratio %.2f (limit %.1f)  %s\n", what, *a, *b, r,
                        limit, r <= limit ? "ok" : "MISSED");
        };
        std::printf("\nSummary\n");
        ratio("display update, 100 -> 100,000 items (us):", "BM_DisplayUpdate/items:100",
              "BM_DisplayUpdate/items:100000", DisplayLimit);
        ratio("list filling, 10,000 -> 100,000 items (ms):", "BM_ShowGroupItems/items:10000",
              "BM_ShowGroupItems/items:100000", FillLimit);
        if (const auto rate = counter("BM_ItemDataUpdate/items:100000", "items_per_second")) {
            ok = ok && *rate >= EventRateLimit;
            std::printf("  %-44s %10.0f updates/s (limit %.0f)  %s\n",
                        "data change -> ItemDataUpdate, handler on:", *rate, EventRateLimit,
                        *rate >= EventRateLimit ? "ok" : "MISSED");
        }
        return ok;
    }
};

void printMemory()
{
    constexpr int Count = 100000;
    Scene scene(Count);
    const double items = double(scene.heapWithItems - scene.heapBeforeItems) / Count;
    const double list = double(scene.heapWithList - scene.heapWithItems) / Count;
    std::printf("  %-44s %10.0f bytes/item (object layer %.0f, list rows %.0f)\n",
                "memory with 100,000 items shown:", items + list, items, list);
}

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksOffscreen<SummaryReporter>(argc, argv, [](SummaryReporter& reporter) {
        const bool ok = reporter.printSummary();
        printMemory();
        return ok;
    });
}
