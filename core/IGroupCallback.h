#pragma once

#include <cstdint>
#include <string>

#include "core/Trackable.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// What a group object tells its owner. The members do nothing here; owners
// override the ones they need. Arrays run from 1.
class IGroupCallback : public virtual Trackable {
public:
    virtual void Update(const std::string& /*GroupKey*/, int32_t /*TransactionID*/,
                        int32_t /*NumItems*/, const OleArray<int32_t>& /*ClientHandles*/,
                        const OleArray<Variant>& /*ItemValues*/,
                        const OleArray<int32_t>& /*Qualities*/,
                        const OleArray<double>& /*TimeStamps*/,
                        const OleArray<std::string>& /*ItemIDs*/)
    {
    }
    virtual void OPCGroupError(const std::string& /*GroupError*/) {}
    virtual void AsyncWriteComplete(int32_t /*TransactionID*/) {}
};

}  // namespace tagwell
