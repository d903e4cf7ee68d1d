#pragma once

namespace tagwell {

// One OPC group on a connected server.
class cOPCGroup {
public:
    virtual ~cOPCGroup() = default;
};

}  // namespace tagwell
