#include "core/MCollector.h"

#include <sys/mman.h>

#include <cstdint>
#include <utility>

#include "automation/AutomationRegistry.h"

namespace tagwell {
namespace MCollector {

namespace {

constexpr const char* UnknownId = "Unknown";
// Class identifiers and ProgIDs are handed out at most this long.
constexpr size_t MaximumIdLength = 255;

template <class T>
void reserveArray(OleArray<T>& array, size_t entries)
{
    array.reserve(entries);
    detail::AdviseLargeStorage(array.elements().data(), array.elements().capacity() * sizeof(T));
}

// The five arrays of the all-items buffer, each holding the empty element 0.
struct AllUpdates {
    OleArray<std::string> aliases{0, std::vector<std::string>(1)};
    OleArray<std::string> itemIds{0, std::vector<std::string>(1)};
    OleArray<Variant> values{0, std::vector<Variant>(1)};
    OleArray<double> dateTimes{0, std::vector<double>(1)};
    OleArray<int32_t> qualities{0, std::vector<int32_t>(1)};

    int32_t count() const { return int32_t(qualities.size()) - 1; }

    // Room for as many entries as the last batch had, so that a steady
    // stream of updates fills the arrays without moving them as they grow.
    void reserve(size_t entries)
    {
        reserveArray(aliases, entries + 1);
        reserveArray(itemIds, entries + 1);
        reserveArray(values, entries + 1);
        reserveArray(dateTimes, entries + 1);
        reserveArray(qualities, entries + 1);
    }
};

struct State {
    CollectionMode mode = cmNone;
    bool active = false;
    AllUpdates buffer;
};

State& state()
{
    static State s;
    return s;
}

std::string limited(std::string text)
{
    if (text.size() > MaximumIdLength)
        text.resize(MaximumIdLength);
    return text;
}

}  // namespace

namespace detail {

void AdviseLargeStorage(void* data, size_t bytes)
{
    // Storage this large comes straight from the system and is touched page
    // by page as it fills; in huge pages it costs a fraction of the faults.
    constexpr uintptr_t HugePage = uintptr_t(2) << 20;
    if (bytes < 4 * HugePage)
        return;
    const uintptr_t first = (uintptr_t(data) + HugePage - 1) & ~(HugePage - 1);
    const uintptr_t last = (uintptr_t(data) + bytes) & ~(HugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace detail

CollectionMode GetCollectionMode() { return state().mode; }
void SetCollectionMode(CollectionMode mode) { state().mode = mode; }

bool CollectionActive() { return state().active; }
void SetCollectionActive(bool active) { state().active = active; }

void AppendAllUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value,
                     double DateTime, int32_t Quality)
{
    AllUpdates& buffer = state().buffer;
    buffer.aliases.append(Alias);
    buffer.itemIds.append(ItemID);
    buffer.values.append(Value);
    buffer.dateTimes.append(DateTime);
    buffer.qualities.append(Quality);
}

int32_t AllUpdatesCount() { return state().buffer.count(); }

void TakeAllUpdates(OleArray<std::string>& Aliases, OleArray<std::string>& ItemIDs,
                    OleArray<Variant>& Values, OleArray<double>& DateTimes,
                    OleArray<int32_t>& Qualities)
{
    AllUpdates& buffer = state().buffer;
    if (buffer.count() <= 0)
        return;
    AllUpdates taken = std::exchange(buffer, AllUpdates());
    buffer.reserve(size_t(taken.count()));
    Aliases = std::move(taken.aliases);
    ItemIDs = std::move(taken.itemIds);
    Values = std::move(taken.values);
    DateTimes = std::move(taken.dateTimes);
    Qualities = std::move(taken.qualities);
}

void ClearAllUpdates()
{
    if (AllUpdatesCount() > 0)
        state().buffer = AllUpdates();
}

void LookupClassIds(const std::string& ProgID, std::string& ClassID, std::string& FullProgID)
{
    AutomationRegistry& registry = AutomationRegistry::instance();
    const std::optional<std::string> classId = registry.classIdFromProgId(ProgID);
    if (!classId) {
        ClassID = UnknownId;
        FullProgID = UnknownId;
        return;
    }
    ClassID = limited(*classId);
    const std::optional<std::string> progId = registry.progIdFromClassId(*classId);
    FullProgID = progId ? limited(*progId) : std::string(UnknownId);
}

int32_t VisibleRowCount(const IRowCountSource& list) { return list.countPerPage(); }

}  // namespace MCollector
}  // namespace tagwell
