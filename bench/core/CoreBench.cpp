// Speed and memory of the object layer's update path.
//
// Prints, after the usual benchmark table, a summary of ratios measured in
// this one run: cost per update across group sizes, cost per appended update
// across buffer sizes, the cost of a take across buffer sizes, and the heap
// bytes one item of a large group costs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/MedianReporter.h"
#include "automation/OPCGroup.h"
#include "automation/OPCGroups.h"
#include "automation/OPCServer.h"
#include "automation/sim/SimulationBackend.h"
#include "core/IGroupCallback.h"
#include "core/IItemCallback.h"
#include "core/MCollector.h"
#include "core/OPCKeys.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/ManualDispatcher.h"

// ---------------------------------------------------------------- heap accounting

namespace {
std::atomic<long long> g_liveBytes{0};
}

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept
{
    if (!p)
        return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace tagwell {
namespace {

constexpr double AllowedGrowth = 1.3;
constexpr double RequiredUpdatesPerSecond = 2'000'000;
constexpr int32_t MemoryGroupSize = 100'000;
constexpr const char* TagPrefix = "Plant.Area1.Line1";  // item IDs of realistic length
constexpr int32_t NoTicks = 3'600'000;                  // the clock never moves anyway

std::string tagId(int32_t n) { return std::string(TagPrefix) + ".Tag" + std::to_string(n); }

// Owners that do what a host's handler at least does: look at the values.
class CountingItemOwner : public IItemCallback {
public:
    void OPCItemUpdate(const std::string&, const std::string&, const Variant&, double,
                       int32_t Quality) override
    {
        sum += Quality;
    }
    int64_t sum = 0;
};

class CountingGroupOwner : public IGroupCallback {
public:
    void Update(const std::string&, int32_t, int32_t NumItems, const OleArray<int32_t>&,
                const OleArray<Variant>&, const OleArray<int32_t>&, const OleArray<double>&,
                const OleArray<std::string>& ItemIDs) override
    {
        rows += NumItems;
        benchmark::DoNotOptimize(ItemIDs);
    }
    int64_t rows = 0;
};

// The simulation under a clock that stands still, and one connection to it.
struct Environment {
    ManualDispatcher clock;
    std::unique_ptr<cOPCServer> server;

    Environment()
    {
        Dispatcher::install(&clock);
        SimulationBackend::shared()->reset();
        server = std::make_unique<cOPCServer>();
        server->ConnectOPCServer(SimulationBackend::DemoProgId, OPCKeys::ServerKey(0), 0, "");
    }
    ~Environment()
    {
        server.reset();
        Dispatcher::install(nullptr);
    }

    SimServer& demo() { return SimulationBackend::shared()->server(SimulationBackend::DemoProgId); }

    std::shared_ptr<cOPCGroup> group(int32_t items, bool logged)
    {
        if (tagsMade < items) {
            demo().addGeneratedTags(TagPrefix, items, SimSignal::Static);
            tagsMade = items;
        }
        std::string name = "G" + std::to_string(++groups), key;
        server->AddOPCGroup(name, NoTicks, 0, true, true, key);
        std::shared_ptr<cOPCGroup> made = *server->GetOPCServerGroupCollection().find(key);
        for (int32_t n = 1; n <= items; ++n)
            made->AddOPCItem(tagId(n), vtEmpty, true, true, logged, key, "Alias" + std::to_string(n));
        return made;
    }

    int32_t tagsMade = 0;
    int groups = 0;
};

Environment& environment()
{
    static Environment env;
    return env;
}

// A group of the size with every item logged and both owners set, made once.
struct PreparedGroup {
    std::shared_ptr<cOPCGroup> group;
    std::vector<std::shared_ptr<cOPCItem>> items;
    CountingItemOwner itemOwner;
    CountingGroupOwner groupOwner;
    OleArray<int32_t> handles{1, {}};
    OleArray<Variant> values{1, {}};
    OleArray<int32_t> qualities{1, {}};
    OleArray<double> stamps{1, {}};
};

PreparedGroup& prepared(int32_t size)
{
    static std::map<int32_t, std::unique_ptr<PreparedGroup>> made;
    std::unique_ptr<PreparedGroup>& slot = made[size];
    if (slot)
        return *slot;
    slot = std::make_unique<PreparedGroup>();
    PreparedGroup& p = *slot;
    p.group = environment().group(size, true);
    p.group->SetGroupOwner(&p.groupOwner);
    p.group->GroupUpdates(true);
    p.group->GroupUpdatesWithItemIDs(true);
    for (const auto& entry : p.group->GetOPCGroupItemsCollection()) {
        entry.value->SetItemOwner(&p.itemOwner);
        p.items.push_back(entry.value);
    }
    for (int32_t n = 1; n <= size; ++n) {
        p.handles.append(n);
        p.values.append(Variant(n * 0.5));
        p.qualities.append(192);
        p.stamps.append(46000.0 + n * 1e-6);
    }
    return p;
}

// What the collection tick does with the buffers.
void takeCollected(PreparedGroup& p, CollectionMode mode)
{
    if (mode == cmAll) {
        OleArray<std::string> aliases, ids;
        OleArray<Variant> values;
        OleArray<double> dates;
        OleArray<int32_t> qualities;
        MCollector::TakeAllUpdates(aliases, ids, values, dates, qualities);
        benchmark::DoNotOptimize(qualities);
        return;
    }
    OleArray<Variant> values;
    OleArray<double> dates;
    OleArray<int32_t> qualities;
    for (const auto& item : p.items)
        if (item->GetItemLogged() && item->GetItemUpdatesCount() > 0)
            item->GetAllItemUpdates(values, dates, qualities);
    benchmark::DoNotOptimize(qualities);
}

// ---------------------------------------------------------------- data changes

// One data change of every item of the group, then the collection take.
void BM_DataChange(benchmark::State& state)
{
    const int32_t size = int32_t(state.range(0));
    const auto mode = CollectionMode(state.range(1));
    PreparedGroup& p = prepared(size);
    MCollector::SetCollectionMode(mode);
    MCollector::SetCollectionActive(true);
    OPCGroupEvents& events = *p.group;
    for (auto _ : state) {
        events.DataChange(0, size, p.handles, p.values, p.qualities, p.stamps);
        takeCollected(p, mode);
    }
    MCollector::SetCollectionActive(false);
    state.SetItemsProcessed(state.iterations() * size);
    state.counters["ns_per_update"] =
        benchmark::Counter(double(state.iterations()) * size, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_DataChange)
    ->ArgNames({"items", "mode"})
    ->ArgsProduct({{100, 10'000, 100'000}, {cmItem, cmAll}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// ---------------------------------------------------------------- collection buffers

std::vector<std::string> sampleIds()
{
    std::vector<std::string> ids;
    for (int32_t n = 1; n <= 1000; ++n)
        ids.push_back(tagId(n));
    return ids;
}

// Appends n updates to the all-items buffer, then takes them.
void BM_AppendAll(benchmark::State& state)
{
    const int64_t n = state.range(0);
    static const std::vector<std::string> ids = sampleIds();
    const Variant value(1.5);
    for (auto _ : state) {
        for (int64_t i = 0; i < n; ++i)
            MCollector::AppendAllUpdate("Alias", ids[size_t(i % 1000)], value, 46000.0, 192);
        OleArray<std::string> aliases, itemIds;
        OleArray<Variant> values;
        OleArray<double> dates;
        OleArray<int32_t> qualities;
        MCollector::TakeAllUpdates(aliases, itemIds, values, dates, qualities);
        benchmark::DoNotOptimize(qualities);
    }
    state.counters["ns_per_update"] =
        benchmark::Counter(double(state.iterations()) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Sends n updates to one logged item collecting for itself, then takes them.
void BM_AppendItem(benchmark::State& state)
{
    const int64_t n = state.range(0);
    cOPCItem item;
    item.SetOPCItem(nullptr, tagId(1), 1, vtEmpty, true, true, "Alias", "", "");
    MCollector::SetCollectionMode(cmItem);
    MCollector::SetCollectionActive(true);
    const Variant value(1.5);
    for (auto _ : state) {
        for (int64_t i = 0; i < n; ++i)
            item.UpdateOPCItemData(value, 192, 46000.0);
        OleArray<Variant> values;
        OleArray<double> dates;
        OleArray<int32_t> qualities;
        item.GetAllItemUpdates(values, dates, qualities);
        benchmark::DoNotOptimize(qualities);
    }
    MCollector::SetCollectionActive(false);
    state.counters["ns_per_update"] =
        benchmark::Counter(double(state.iterations()) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The take alone, after n appends outside the timing.
void BM_TakeAll(benchmark::State& state)
{
    const int64_t n = state.range(0);
    static const std::vector<std::string> ids = sampleIds();
    const Variant value(1.5);
    for (auto _ : state) {
        state.PauseTiming();
        for (int64_t i = 0; i < n; ++i)
            MCollector::AppendAllUpdate("Alias", ids[size_t(i % 1000)], value, 46000.0, 192);
        auto aliases = std::make_unique<OleArray<std::string>>(), itemIds = std::make_unique<OleArray<std::string>>();
        auto values = std::make_unique<OleArray<Variant>>();
        auto dates = std::make_unique<OleArray<double>>();
        auto qualities = std::make_unique<OleArray<int32_t>>();
        state.ResumeTiming();
        MCollector::TakeAllUpdates(*aliases, *itemIds, *values, *dates, *qualities);
        state.PauseTiming();
        aliases.reset(), itemIds.reset(), values.reset(), dates.reset(), qualities.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_AppendAll)->ArgName("updates")->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_AppendItem)->ArgName("updates")->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_TakeAll)->ArgName("updates")->Arg(1'000)->Arg(1'000'000)->Iterations(30)
    ->Repetitions(3)->ReportAggregatesOnly(true);

// ---------------------------------------------------------------- memory

struct MemoryFigures {
    double withAutomation = 0;  // heap bytes per item, the simulated server's item included
    double automationOnly = 0;  // what the simulated server's item alone costs
};

MemoryFigures measureMemory()
{
    Environment& env = environment();
    env.demo().addGeneratedTags(TagPrefix, MemoryGroupSize, SimSignal::Static);
    env.tagsMade = std::max(env.tagsMade, MemoryGroupSize);

    const long long beforeGroup = g_liveBytes;
    std::shared_ptr<cOPCGroup> group = env.group(MemoryGroupSize, true);
    const long long groupBytes = g_liveBytes - beforeGroup;

    std::vector<std::shared_ptr<OPCItem>> held;  // keeps the bare items; not counted
    held.reserve(MemoryGroupSize);
    const long long beforeBare = g_liveBytes;
    std::shared_ptr<OPCGroup> bare = env.server->GetOPCServerObject()->OPCGroups()->Add("Bare");
    std::shared_ptr<OPCItems> bareItems = bare->OPCItems();
    for (int32_t n = 1; n <= MemoryGroupSize; ++n)
        held.push_back(bareItems->AddItem(tagId(n), n));
    const long long bareBytes = g_liveBytes - beforeBare;
    MemoryFigures figures;
    figures.withAutomation = double(groupBytes) / MemoryGroupSize;
    figures.automationOnly = double(bareBytes) / MemoryGroupSize;
    return figures;
}

// ---------------------------------------------------------------- summary

class SummaryReporter : public MedianReporter {
public:
    bool printSummary(const MemoryFigures& memory) const
    {
        bool within = true;
        std::printf("\nData change, cost per item update (group and item owners set, every item logged,\n"
                    "a collection take after each change; limit %.1fx of 100 items, at least %.0f updates/s):\n",
                    AllowedGrowth, RequiredUpdatesPerSecond);
        for (CollectionMode mode : {cmItem, cmAll}) {
            const double base = cost("BM_DataChange/items:100/mode:" + std::to_string(mode));
            for (int size : {100, 10'000, 100'000}) {
                const double c = cost("BM_DataChange/items:" + std::to_string(size) + "/mode:" + std::to_string(mode));
                const double perSecond = 1e9 / c;
                const bool ok = c / base <= AllowedGrowth && perSecond >= RequiredUpdatesPerSecond;
                within = within && ok;
                std::printf("  %-6s %7d items: %7.1f ns/update  %6.2f M updates/s  ratio %.2f  %s\n",
                            mode == cmItem ? "cmItem" : "cmAll", size, c, perSecond / 1e6, c / base,
                            ok ? "ok" : "OUT OF LIMITS");
            }
        }
        std::printf("\nCollection, cost per appended update, 1,000,000 between takes over 1,000 (limit %.1f):\n",
                    AllowedGrowth);
        for (const char* buffer : {"BM_AppendAll", "BM_AppendItem"}) {
            const double small = cost(std::string(buffer) + "/updates:1000");
            const double large = cost(std::string(buffer) + "/updates:1000000");
            const bool ok = large / small <= AllowedGrowth;
            within = within && ok;
            std::printf("  %-13s %6.1f ns -> %6.1f ns  ratio %.2f  %s\n", buffer, small, large, large / small,
                        ok ? "ok" : "OUT OF LIMITS");
        }
        const double takeSmall = cost("BM_TakeAll/updates:1000");
        const double takeLarge = cost("BM_TakeAll/updates:1000000");
        std::printf("  take of 1,000 entries %.0f ns, of 1,000,000 entries %.0f ns (ratio %.2f: one move)\n",
                    takeSmall, takeLarge, takeLarge / takeSmall);
        std::printf("\nMemory, heap bytes per item of a %d-item group: %.0f in all, of which the simulated\n"
                    "server's item %.0f, the object layer's share %.0f\n",
                    MemoryGroupSize, memory.withAutomation, memory.automationOnly,
                    memory.withAutomation - memory.automationOnly);
        return within;
    }

private:
    // Nanoseconds per update where the run counts them, else its time.
    double cost(const std::string& name) const
    {
        if (const auto perUpdate = counter(name, "ns_per_update"))
            return *perUpdate * 1e9;
        return time(name).value_or(0);
    }
};

}  // namespace
}  // namespace tagwell

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const tagwell::MemoryFigures memory = tagwell::measureMemory();
    tagwell::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.printSummary(memory) ? 0 : 1;
}
