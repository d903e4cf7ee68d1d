#pragma once

#include <cstdint>
#include <set>

namespace tagwell {

// Numbers groups and items: each new entry gets the smallest number from 1
// that no current entry holds, so a freed number is reused by the next
// addition. (With n entries that is the first free number of 1..n, or n + 1
// when all are taken.) Allocation and release cost O(log n).
class IndexAllocator {
public:
    int32_t allocate();
    // Takes a number that is in use elsewhere (it will not be handed out).
    void claim(int32_t number);
    void release(int32_t number);
    bool inUse(int32_t number) const;
    void clear();

private:
    int32_t m_highest = 0;       // every number above this is free
    std::set<int32_t> m_gaps;    // free numbers below m_highest
};

}  // namespace tagwell
