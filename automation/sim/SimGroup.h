#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/OPCGroup.h"
#include "automation/sim/SimItems.h"
#include "platform/Dispatcher.h"

namespace tagwell {

class SimGroups;
class SimServer;

// One simulated group.
//
// Subscription: while the group is active, subscribed and has an event sink,
// a dispatcher timer runs at the update rate. Each tick samples every active,
// readable item and raises one DataChange (transaction id 0) with the items
// whose value or quality changed since they were last sent, analog items only
// by more than the dead band; nothing is raised when nothing changed. Items
// added, activated or re-typed since the last tick, and every item after the
// group becomes active again, are sent on the next tick whatever their value.
// Example: update rate 200 ms, group made active at t = 0: ticks at 200, 400,
// 600 ms ...; the tick at 200 ms carries every item.
//
// Refreshes and write completions are posted to the dispatcher and raised
// later; a task finds the group through a weak reference, so nothing reaches
// a sink after it was cleared or after the group went.
//
// The group's dispatcher timer lives on the dispatcher that was current when
// the timer started; the group must be removed (or its connection closed)
// before that dispatcher goes.
class SimGroup : public OPCGroup, public std::enable_shared_from_this<SimGroup> {
public:
    struct Settings {
        bool active = true;
        int32_t updateRate = 1000;
        float deadband = 0;
        int32_t timeBias = 0;
    };
    static constexpr int32_t MinimumUpdateRate = 10;
    static constexpr float MaximumDeadband = 100;

    static std::shared_ptr<SimGroup> create(std::shared_ptr<SimServer> server,
                                            std::weak_ptr<SimGroups> collection,
                                            std::string name, Settings settings);
    ~SimGroup() override;

    std::string Name() override;
    void SetName(const std::string& name) override;
    bool IsActive() override;
    void SetIsActive(bool active) override;
    bool IsSubscribed() override;
    void SetIsSubscribed(bool subscribed) override;
    int32_t UpdateRate() override;
    void SetUpdateRate(int32_t milliseconds) override;
    float DeadBand() override;
    void SetDeadBand(float percent) override;
    int32_t TimeBias() override;
    void SetTimeBias(int32_t minutes) override;
    std::shared_ptr<tagwell::OPCItems> OPCItems() override;

    void SyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                   const OleArray<Variant>& Values, OleArray<int32_t>& Errors) override;
    void AsyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                    const OleArray<Variant>& Values, OleArray<int32_t>& Errors,
                    int32_t TransactionID, int32_t& CancelID) override;
    void AsyncRefresh(int16_t Source, int32_t TransactionID, int32_t& CancelID) override;

    void setEventSink(OPCGroupEvents* sink) override;

    // Validation shared with the defaults of the group collection; both throw
    // ComError E_INVALIDARG for a value out of range.
    static int32_t revisedUpdateRate(int32_t milliseconds);
    static float checkedDeadband(float percent);

    // Leaves the collection: no more ticks, events or calls.
    void close();
    bool isClosed() const { return m_closed; }
    const std::string& name() const { return m_name; }

private:
    SimGroup(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroups> collection,
             std::string name, Settings settings);

    struct Rows {
        OleArray<int32_t> clientHandles{1, {}};
        OleArray<Variant> values{1, {}};
        OleArray<int32_t> qualities{1, {}};
        OleArray<double> timestamps{1, {}};
        void add(int32_t handle, Variant value, int32_t quality, double timestamp);
        int32_t count() const { return int32_t(clientHandles.size()); }
    };

    void check(const char* member);
    bool wantsTicks() const;
    void updateTimer();
    void stopTimer();
    void tick();
    void refresh(int16_t source, int32_t transactionId);
    void raiseDataChange(int32_t transactionId, const Rows& rows);
    int32_t writeOne(int32_t serverHandle, const Variant& value);

    std::shared_ptr<SimServer> m_server;
    std::weak_ptr<SimGroups> m_collection;
    std::string m_name;
    Settings m_settings;
    bool m_subscribed = true;
    bool m_closed = false;
    std::shared_ptr<SimItems> m_items;
    OPCGroupEvents* m_sink = nullptr;
    Dispatcher* m_timerDispatcher = nullptr;
    Dispatcher::TimerId m_timer = 0;
    int32_t m_timerRate = 0;
    int32_t m_lastCancelId = 0;
};

}  // namespace tagwell
