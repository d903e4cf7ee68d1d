#pragma once

#include <string>
#include <vector>

namespace tagwell {

// The process-wide, ordered list of error report texts: every report
// appends to it, and the data control moves the texts into its activity log.
// Touched only from the owner thread.
class PendingMessages {
public:
    static void Append(std::string text);
    static size_t Count();
    static const std::vector<std::string>& All();
    // Returns every text in order and leaves the list empty.
    static std::vector<std::string> TakeAll();
    static void Clear();
};

}  // namespace tagwell
