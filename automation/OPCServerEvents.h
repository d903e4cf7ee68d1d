#pragma once

#include <string>

namespace tagwell {

// What an automation server raises, on the owner thread.
class OPCServerEvents {
public:
    virtual ~OPCServerEvents() = default;
    virtual void ServerShutDown(const std::string& Reason) = 0;
};

}  // namespace tagwell
