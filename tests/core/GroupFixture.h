#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/sim/SimulationBackend.h"
#include "core/IGroupCallback.h"
#include "core/IItemCallback.h"
#include "core/cOPCGroup.h"
#include "core/cOPCItem.h"
#include "core/cOPCServer.h"
#include "platform/ManualDispatcher.h"
#include "platform/RecordingMessageBoxService.h"

namespace tagwell::test {

// One Update a group owner received, arrays flattened (index 1 first).
struct GroupUpdate {
    std::string groupKey;
    int32_t transactionId = 0;
    int32_t numItems = 0;
    std::vector<int32_t> clientHandles;
    std::vector<Variant> values;
    std::vector<int32_t> qualities;
    int32_t itemIdsLowerBound = 0;
    std::vector<std::string> itemIds;
};

class RecordingGroupOwner : public IGroupCallback {
public:
    void Update(const std::string& GroupKey, int32_t TransactionID, int32_t NumItems,
                const OleArray<int32_t>& ClientHandles, const OleArray<Variant>& ItemValues,
                const OleArray<int32_t>& Qualities, const OleArray<double>& TimeStamps,
                const OleArray<std::string>& ItemIDs) override;
    void OPCGroupError(const std::string& GroupError) override { errors.push_back(GroupError); }
    void AsyncWriteComplete(int32_t TransactionID) override { completions.push_back(TransactionID); }

    std::vector<GroupUpdate> updates;
    std::vector<std::string> errors;
    std::vector<int32_t> completions;
};

// One OPCItemUpdate an item owner received.
struct ItemUpdate {
    std::string alias;
    std::string itemId;
    Variant value;
    double timeDate = 0;
    int32_t quality = 0;
};

class RecordingItemOwner : public IItemCallback {
public:
    void OPCItemUpdate(const std::string& Alias, const std::string& ItemID, const Variant& Value,
                       double TimeDate, int32_t Quality) override;
    void OPCItemError(const std::string& ItemError) override { errors.push_back(ItemError); }

    std::vector<ItemUpdate> updates;
    std::vector<std::string> errors;
    // When set, every OPCItemUpdate throws this error after recording.
    std::optional<ComError> failWith;
};

// A connected demonstration server under a manual clock, a recording message
// box, and the process-wide state of the object layer (pending messages,
// collection, binding) as at start-up.
class GroupFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SimServer& demo();
    // Adds a group (update rate 100 ms unless given) and returns it.
    std::shared_ptr<cOPCGroup> addGroup(std::string name = {}, int32_t updateRate = 100);
    // Adds an item (display updates on, not logged unless asked) and returns it.
    std::shared_ptr<cOPCItem> addItem(cOPCGroup& group, const std::string& itemId,
                                      bool logged = false, bool displayUpdated = true);
    std::shared_ptr<cOPCItem> itemOf(cOPCGroup& group, const std::string& itemKey);
    void advance(int32_t milliseconds) { clock.advance(std::chrono::milliseconds(milliseconds)); }

    ManualDispatcher clock;
    RecordingMessageBoxService boxes;
    std::unique_ptr<cOPCServer> server;
};

}  // namespace tagwell::test
