#pragma once

#include <vector>

#include "platform/PointerService.h"

namespace tagwell {

// A pointer service for tests: remembers the shape shown and every change.
class RecordingPointerService : public PointerService {
public:
    int pointer() const override { return shape; }
    void setPointer(int newShape) override
    {
        shape = newShape;
        changes.push_back(newShape);
    }

    int shape = pointer::Default;
    std::vector<int> changes;
};

}  // namespace tagwell
