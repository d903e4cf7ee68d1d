#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCItems.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

class OPCGroupEvents;

// Refresh sources.
enum OPCDataSource : int16_t { OPCCache = 1, OPCDevice = 2 };

// One automation group. Its events (data changes, write completions) go to
// the sink set with setEventSink, on the owner thread; none arrives after the
// sink was cleared.
class OPCGroup {
public:
    virtual ~OPCGroup() = default;

    virtual std::string Name() = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual bool IsActive() = 0;
    virtual void SetIsActive(bool active) = 0;
    virtual bool IsSubscribed() = 0;
    virtual void SetIsSubscribed(bool subscribed) = 0;
    // Milliseconds; the server may revise a requested rate.
    virtual int32_t UpdateRate() = 0;
    virtual void SetUpdateRate(int32_t milliseconds) = 0;
    // Percent of an analog item's engineering-unit range, 0 to 100.
    virtual float DeadBand() = 0;
    virtual void SetDeadBand(float percent) = 0;
    // Minutes.
    virtual int32_t TimeBias() = 0;
    virtual void SetTimeBias(int32_t minutes) = 0;

    virtual std::shared_ptr<tagwell::OPCItems> OPCItems() = 0;

    virtual void SyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                           const OleArray<Variant>& Values, OleArray<int32_t>& Errors) = 0;
    // Accepted items complete later with AsyncWriteComplete carrying TransactionID.
    virtual void AsyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                            const OleArray<Variant>& Values, OleArray<int32_t>& Errors,
                            int32_t TransactionID, int32_t& CancelID) = 0;
    // The values of every active item arrive later as one DataChange carrying
    // TransactionID.
    virtual void AsyncRefresh(int16_t Source, int32_t TransactionID, int32_t& CancelID) = 0;

    virtual void setEventSink(OPCGroupEvents* sink) = 0;
};

}  // namespace tagwell
