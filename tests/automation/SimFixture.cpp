#include "SimFixture.h"

#include <algorithm>

namespace tagwell::test {

bool RecordedChange::has(int32_t handle) const
{
    return std::find(handles.begin(), handles.end(), handle) != handles.end();
}

Variant RecordedChange::valueOf(int32_t handle) const
{
    const auto at = std::find(handles.begin(), handles.end(), handle);
    if (at == handles.end()) {
        ADD_FAILURE() << "no value for client handle " << handle;
        return Variant();
    }
    return values[size_t(at - handles.begin())];
}

void RecordingGroupEvents::DataChange(int32_t TransactionID, int32_t NumItems,
                                      const OleArray<int32_t>& ClientHandles,
                                      const OleArray<Variant>& ItemValues,
                                      const OleArray<int32_t>& Qualities,
                                      const OleArray<double>& TimeStamps)
{
    EXPECT_EQ(ClientHandles.lbound(), 1);
    EXPECT_EQ(Qualities.lbound(), 1);
    EXPECT_EQ(ItemValues.lbound(), 1);
    EXPECT_EQ(TimeStamps.lbound(), 1);
    EXPECT_EQ(int32_t(ClientHandles.size()), NumItems);
    EXPECT_EQ(int32_t(ItemValues.size()), NumItems);
    EXPECT_EQ(int32_t(Qualities.size()), NumItems);
    EXPECT_EQ(int32_t(TimeStamps.size()), NumItems);
    changes.push_back(RecordedChange{TransactionID, ClientHandles.elements(), ItemValues.elements(),
                                     Qualities.elements(), TimeStamps.elements()});
}

void RecordingGroupEvents::AsyncWriteComplete(int32_t TransactionID, int32_t NumItems,
                                              const OleArray<int32_t>& ClientHandles,
                                              const OleArray<int32_t>& Errors)
{
    EXPECT_EQ(ClientHandles.lbound(), 1);
    EXPECT_EQ(int32_t(ClientHandles.size()), NumItems);
    EXPECT_EQ(int32_t(Errors.size()), NumItems);
    writes.push_back(RecordedWrite{TransactionID, ClientHandles.elements(), Errors.elements()});
}

void SimFixture::SetUp()
{
    Dispatcher::install(&clock);
    sim().reset();
}

void SimFixture::TearDown()
{
    server.reset();
    Dispatcher::install(nullptr);
}

std::unique_ptr<OPCServer> SimFixture::connected(const std::string& progId, const std::string& node)
{
    auto s = std::make_unique<OPCServer>();
    s->Connect(progId, node);
    return s;
}

std::shared_ptr<OPCGroup> SimFixture::subscribedGroup(int32_t updateRate, float deadband)
{
    if (!server)
        server = connected();
    auto group = server->OPCGroups()->Add("");
    group->SetUpdateRate(updateRate);
    group->SetDeadBand(deadband);
    group->setEventSink(&events);
    return group;
}

}  // namespace tagwell::test
