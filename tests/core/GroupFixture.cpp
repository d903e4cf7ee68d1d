#include "GroupFixture.h"

#include "core/MCollector.h"
#include "core/MItems.h"
#include "core/OPCKeys.h"
#include "core/PendingMessages.h"
#include "platform/Services.h"

namespace tagwell::test {

void RecordingGroupOwner::Update(const std::string& GroupKey, int32_t TransactionID,
                                 int32_t NumItems, const OleArray<int32_t>& ClientHandles,
                                 const OleArray<Variant>& ItemValues,
                                 const OleArray<int32_t>& Qualities,
                                 const OleArray<double>& /*TimeStamps*/,
                                 const OleArray<std::string>& ItemIDs)
{
    updates.push_back({GroupKey, TransactionID, NumItems, ClientHandles.elements(),
                       ItemValues.elements(), Qualities.elements(), ItemIDs.lbound(),
                       ItemIDs.elements()});
}

void RecordingItemOwner::OPCItemUpdate(const std::string& Alias, const std::string& ItemID,
                                       const Variant& Value, double TimeDate, int32_t Quality)
{
    updates.push_back({Alias, ItemID, Value, TimeDate, Quality});
    if (failWith)
        throw *failWith;
}

void GroupFixture::SetUp()
{
    Dispatcher::install(&clock);
    Services::installMessageBox(&boxes);
    SimulationBackend::shared()->reset();
    PendingMessages::Clear();
    MCollector::SetCollectionMode(cmNone);
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    MItems::ResetParentWindows();

    server = std::make_unique<cOPCServer>();
    ASSERT_TRUE(server->ConnectOPCServer(SimulationBackend::DemoProgId, OPCKeys::ServerKey(0), 0, ""));
}

void GroupFixture::TearDown()
{
    server.reset();  // groups go before the clock they tick on
    MCollector::SetCollectionActive(false);
    MCollector::ClearAllUpdates();
    Services::installMessageBox(nullptr);
    Dispatcher::install(nullptr);
}

SimServer& GroupFixture::demo() { return SimulationBackend::shared()->server(SimulationBackend::DemoProgId); }

std::shared_ptr<cOPCGroup> GroupFixture::addGroup(std::string name, int32_t updateRate)
{
    std::string key;
    EXPECT_TRUE(server->AddOPCGroup(name, updateRate, 0, true, true, key));
    std::shared_ptr<cOPCGroup>* group = server->GetOPCServerGroupCollection().find(key);
    return group ? *group : nullptr;
}

std::shared_ptr<cOPCItem> GroupFixture::addItem(cOPCGroup& group, const std::string& itemId,
                                                bool logged, bool displayUpdated)
{
    std::string key;
    EXPECT_TRUE(group.AddOPCItem(itemId, vtEmpty, true, displayUpdated, logged, key)) << itemId;
    return itemOf(group, key);
}

std::shared_ptr<cOPCItem> GroupFixture::itemOf(cOPCGroup& group, const std::string& itemKey)
{
    const auto collectionKey = OPCKeys::CollectionKeyOfItemKey(itemKey);
    if (!collectionKey)
        return nullptr;
    const std::shared_ptr<cOPCItem>* item = group.GetOPCGroupItemsCollection().find(*collectionKey);
    return item ? *item : nullptr;
}

}  // namespace tagwell::test
