#pragma once

#include <cstdint>

#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// What an automation group raises. Backends deliver these on the owner
// thread (through the Dispatcher), never from inside the call that caused
// them; every array runs from 1 to the number of items.
class OPCGroupEvents {
public:
    virtual ~OPCGroupEvents() = default;

    virtual void DataChange(int32_t TransactionID, int32_t NumItems,
                            const OleArray<int32_t>& ClientHandles,
                            const OleArray<Variant>& ItemValues,
                            const OleArray<int32_t>& Qualities,
                            const OleArray<double>& TimeStamps) = 0;
    virtual void AsyncWriteComplete(int32_t TransactionID, int32_t NumItems,
                                    const OleArray<int32_t>& ClientHandles,
                                    const OleArray<int32_t>& Errors) = 0;
    virtual void AsyncReadComplete(int32_t /*TransactionID*/, int32_t /*NumItems*/) {}
    virtual void AsyncCancelComplete(int32_t /*CancelID*/) {}
};

}  // namespace tagwell
