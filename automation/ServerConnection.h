#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCBrowser.h"
#include "automation/OPCGroups.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

class OPCServerEvents;

// One live connection to one server, as a backend provides it. OPCServer
// forwards to it once connected. Every member may throw ComError.
class ServerConnection {
public:
    virtual ~ServerConnection() = default;

    virtual void Disconnect() = 0;
    virtual std::shared_ptr<tagwell::OPCGroups> OPCGroups() = 0;
    // nullptr when the server offers no browser.
    virtual std::shared_ptr<OPCBrowser> CreateBrowser() = 0;

    virtual double StartTime() = 0;
    virtual double CurrentTime() = 0;
    virtual double LastUpdateTime() = 0;
    virtual int16_t MajorVersion() = 0;
    virtual int16_t MinorVersion() = 0;
    virtual int16_t BuildNumber() = 0;
    virtual std::string VendorInfo() = 0;
    // 1 running, 2 failed, 3 no configuration, 4 suspended, 5 test, 6 disconnected.
    virtual int32_t ServerState() = 0;
    virtual std::string ServerName() = 0;
    virtual std::string ServerNode() = 0;

    virtual void QueryAvailableProperties(const std::string& ItemID, int32_t& Count,
                                          OleArray<int32_t>& PropertyIDs,
                                          OleArray<std::string>& Descriptions,
                                          OleArray<int16_t>& DataTypes) = 0;
    virtual void GetItemProperties(const std::string& ItemID, int32_t Count,
                                   const OleArray<int32_t>& PropertyIDs,
                                   OleArray<Variant>& PropertyValues,
                                   OleArray<int32_t>& Errors) = 0;

    // The shutdown notice goes here, on the owner thread.
    virtual void setEventSink(OPCServerEvents* sink) = 0;
};

}  // namespace tagwell
