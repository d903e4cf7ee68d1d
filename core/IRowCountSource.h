#pragma once

#include <cstdint>

namespace tagwell {

// A list that can say how many whole rows it shows at once: the item list
// implements it, the display update asks it how many rows to refresh.
class IRowCountSource {
public:
    virtual ~IRowCountSource() = default;
    virtual int32_t countPerPage() const = 0;
};

}  // namespace tagwell
