#pragma once

#include <cstdint>
#include <string>

#include "core/IRowCountSource.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// How logged item updates are collected between two collection ticks: not
// at all, in each item's own buffer, or in the one process-wide buffer.
enum CollectionMode : int32_t { cmNone = 0, cmItem = 1, cmAll = 2 };

// The process-wide collection settings and the all-items buffer, shared by
// every control of the process and touched only from the owner thread.
//
// The all-items buffer holds five parallel arrays indexed from 0: aliases,
// item IDs, values, date-times and qualities. Entries occupy 1 to the count,
// element 0 is never written and stays empty. Appending costs amortised
// constant time whatever the count; a take hands over the arrays themselves
// (one move, no copy per entry) and leaves the buffer empty.
namespace MCollector {

// Any number may be stored; only cmItem and cmAll collect.
CollectionMode GetCollectionMode();
void SetCollectionMode(CollectionMode mode);

// True between the start and the stop of collection updates.
bool CollectionActive();
void SetCollectionActive(bool active);

void AppendAllUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value,
                     double DateTime, int32_t Quality);
int32_t AllUpdatesCount();
// With entries waiting: the outputs receive the arrays, bounds 0 to the
// count with element 0 empty, and the buffer is emptied. With none the
// outputs are left untouched.
void TakeAllUpdates(OleArray<std::string>& Aliases, OleArray<std::string>& ItemIDs,
                    OleArray<Variant>& Values, OleArray<double>& DateTimes,
                    OleArray<int32_t>& Qualities);
// Drops every waiting entry.
void ClearAllUpdates();

// The class identifier ("{...}") registered for a ProgID, and the full,
// version-specific ProgID registered for that class identifier. Each is
// "Unknown" when it cannot be found; both are when the ProgID is unknown.
void LookupClassIds(const std::string& ProgID, std::string& ClassID, std::string& FullProgID);

// The number of whole rows the list shows at once.
int32_t VisibleRowCount(const IRowCountSource& list);

namespace detail {
// Asks the system to back storage of several megabytes that is about to be
// filled with huge pages; a hint only, nothing changes for smaller storage.
void AdviseLargeStorage(void* data, size_t bytes);
}  // namespace detail

}  // namespace MCollector
}  // namespace tagwell
