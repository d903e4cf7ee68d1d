#pragma once

#include <string>

#include "core/Trackable.h"

namespace tagwell {

// What a server object tells its owner. The members do nothing here;
// owners override the ones they need.
class IServerCallback : public virtual Trackable {
public:
    virtual void Shutdown(const std::string& /*ServerKey*/, const std::string& /*Reason*/) {}
    virtual void OPCServerError(const std::string& /*ServerError*/) {}
};

}  // namespace tagwell
