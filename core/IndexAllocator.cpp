#include "core/IndexAllocator.h"

namespace tagwell {

int32_t IndexAllocator::allocate()
{
    if (!m_gaps.empty()) {
        const int32_t number = *m_gaps.begin();
        m_gaps.erase(m_gaps.begin());
        return number;
    }
    return ++m_highest;
}

void IndexAllocator::claim(int32_t number)
{
    if (number < 1 || inUse(number))
        return;
    if (number <= m_highest) {
        m_gaps.erase(number);
        return;
    }
    for (int32_t gap = m_highest + 1; gap < number; ++gap)
        m_gaps.insert(gap);
    m_highest = number;
}

void IndexAllocator::release(int32_t number)
{
    if (!inUse(number))
        return;
    if (number < m_highest) {
        m_gaps.insert(number);
        return;
    }
    // The top number went: drop it and every free number now at the top.
    --m_highest;
    while (m_highest > 0 && m_gaps.count(m_highest)) {
        m_gaps.erase(m_highest);
        --m_highest;
    }
}

bool IndexAllocator::inUse(int32_t number) const
{
    return number >= 1 && number <= m_highest && !m_gaps.count(number);
}

void IndexAllocator::clear()
{
    m_highest = 0;
    m_gaps.clear();
}

}  // namespace tagwell
