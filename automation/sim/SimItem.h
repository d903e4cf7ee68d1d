#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/OPCItem.h"
#include "platform/Variant.h"

namespace tagwell {

class SimGroup;
class SimServer;
class SimTag;

// One item of a simulated group: a client's view of one tag, with the
// client's handle, active state and requested type, the cache of the last
// sampled value and what was last sent to the client (for the dead band).
class SimItem : public OPCItem {
public:
    // One sampled value, quality and timestamp, in the canonical type.
    struct Reading {
        Variant value;
        int32_t quality = 0;
        double timestamp = 0;
    };

    SimItem(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroup> group, SimTag& tag,
            std::string itemId, int32_t clientHandle, int32_t serverHandle, bool active,
            int16_t requestedType);

    int32_t ClientHandle() override;
    int32_t ServerHandle() override;
    std::string AccessPath() override;
    int32_t AccessRights() override;
    std::string ItemID() override;
    bool IsActive() override;
    void SetIsActive(bool active) override;
    int16_t RequestedDataType() override;
    void SetRequestedDataType(int16_t type) override;
    Variant Value() override;
    int32_t Quality() override;
    double TimeStamp() override;
    int16_t CanonicalDataType() override;
    int16_t EUType() override;
    Variant EUInfo() override;
    std::shared_ptr<OPCGroup> Parent() override;
    void Write(const Variant& value) override;

    // For the group.
    SimTag& tag() const { return m_tag; }
    int32_t clientHandle() const { return m_clientHandle; }
    bool active() const { return m_active; }
    bool readable() const;
    // Samples the tag now and keeps the reading as the cache.
    const Reading& sample();
    // The cache, or a fresh sample when nothing was sampled yet.
    const Reading& cached();
    // Whether a reading differs from what the client last received: always
    // before the first send, on any quality change, and for an analog tag
    // only by more than deadbandPercent of its EU span.
    bool dueForSend(const Reading& reading, float deadbandPercent) const;
    void markSent(const Reading& reading);
    void forgetSent() { m_sent.reset(); }
    // The reading as the client asked for it: converted to the requested
    // type; a value that will not convert goes out empty with bad quality.
    Variant delivered(const Reading& reading, int32_t& quality) const;

    // 0 when the tag's value converts to the type, else OPC_E_BADTYPE.
    static int32_t typeError(const SimTag& tag, int16_t requestedType);

private:
    void check(const char* member);
    Reading readNow() const;

    std::shared_ptr<SimServer> m_server;
    std::weak_ptr<SimGroup> m_group;
    SimTag& m_tag;
    std::string m_itemId;
    int32_t m_clientHandle;
    int32_t m_serverHandle;
    bool m_active;
    int16_t m_requestedType;
    std::optional<Reading> m_cache;
    std::optional<Reading> m_sent;
};

}  // namespace tagwell
