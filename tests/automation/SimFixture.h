#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/OPCGroupEvents.h"
#include "automation/OPCServer.h"
#include "automation/OPCServerEvents.h"
#include "automation/sim/SimulationBackend.h"
#include "platform/ManualDispatcher.h"

namespace tagwell::test {

// What a group raised, one entry per event.
struct RecordedChange {
    int32_t transactionId = 0;
    std::vector<int32_t> handles;
    std::vector<Variant> values;
    std::vector<int32_t> qualities;
    std::vector<double> timestamps;

    // The value sent for a client handle; fails the test when it is absent.
    Variant valueOf(int32_t handle) const;
    bool has(int32_t handle) const;
};

struct RecordedWrite {
    int32_t transactionId = 0;
    std::vector<int32_t> handles;
    std::vector<int32_t> errors;
};

class RecordingGroupEvents : public OPCGroupEvents {
public:
    void DataChange(int32_t TransactionID, int32_t NumItems, const OleArray<int32_t>& ClientHandles,
                    const OleArray<Variant>& ItemValues, const OleArray<int32_t>& Qualities,
                    const OleArray<double>& TimeStamps) override;
    void AsyncWriteComplete(int32_t TransactionID, int32_t NumItems,
                            const OleArray<int32_t>& ClientHandles,
                            const OleArray<int32_t>& Errors) override;

    std::vector<RecordedChange> changes;
    std::vector<RecordedWrite> writes;
};

class RecordingServerEvents : public OPCServerEvents {
public:
    void ServerShutDown(const std::string& Reason) override { reasons.push_back(Reason); }
    std::vector<std::string> reasons;
};

// Every simulation test starts from the initial simulation under a manual
// clock of its own.
class SimFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SimulationBackend& sim() { return *SimulationBackend::shared(); }
    SimServer& demo() { return sim().server(SimulationBackend::DemoProgId); }
    std::unique_ptr<OPCServer> connected(const std::string& progId = SimulationBackend::DemoProgId,
                                         const std::string& node = {});
    // A group on a fresh demonstration connection, with the recorder as sink.
    std::shared_ptr<OPCGroup> subscribedGroup(int32_t updateRate, float deadband = 0);
    void advance(int32_t milliseconds) { clock.advance(std::chrono::milliseconds(milliseconds)); }

    ManualDispatcher clock;
    RecordingGroupEvents events;
    std::unique_ptr<OPCServer> server;  // the connection subscribedGroup() uses
};

// Runs a call and returns the ComError number it threw, 0 when it did not throw.
template <class F>
int32_t errorOf(F&& call)
{
    try {
        call();
    } catch (const ComError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace tagwell::test
