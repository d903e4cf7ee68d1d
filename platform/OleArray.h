#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/ComError.h"

namespace tagwell {

// An array with a lower bound, the way automation arrays are: the automation
// interface hands out arrays indexed from 1, the process-wide collection
// buffer arrays indexed from 0. Indexing outside the bounds throws error 9
// ("Subscript out of range") instead of reading past the storage.
template <class T>
class OleArray {
public:
    OleArray() = default;
    OleArray(int32_t lowerBound, std::vector<T> elements)
        : m_lower(lowerBound), m_elements(std::move(elements)) {}

    // Bounds lower..upper, every element default-constructed (empty).
    static OleArray withBounds(int32_t lower, int32_t upper)
    {
        return OleArray(lower, std::vector<T>(upper >= lower ? size_t(upper - lower + 1) : 0));
    }
    static OleArray oneBased(std::vector<T> elements) { return OleArray(1, std::move(elements)); }

    int32_t lbound() const { return m_lower; }
    int32_t ubound() const { return m_lower + int32_t(m_elements.size()) - 1; }
    size_t size() const { return m_elements.size(); }
    bool empty() const { return m_elements.empty(); }
    bool contains(int32_t index) const { return index >= m_lower && index <= ubound(); }

    T& operator[](int32_t index) { return m_elements[offsetOf(index)]; }
    const T& operator[](int32_t index) const { return m_elements[offsetOf(index)]; }

    // Grows or shrinks to lower..upper keeping the contents that stay in range.
    void redimPreserve(int32_t upper)
    {
        m_elements.resize(upper >= m_lower ? size_t(upper - m_lower + 1) : 0);
    }
    void append(T value) { m_elements.push_back(std::move(value)); }
    void reserve(size_t n) { m_elements.reserve(n); }

    std::vector<T>& elements() { return m_elements; }
    const std::vector<T>& elements() const { return m_elements; }
    auto begin() { return m_elements.begin(); }
    auto end() { return m_elements.end(); }
    auto begin() const { return m_elements.begin(); }
    auto end() const { return m_elements.end(); }

    bool operator==(const OleArray&) const = default;

private:
    size_t offsetOf(int32_t index) const
    {
        if (!contains(index))
            throw ComError(errors::SubscriptOutOfRange, "OleArray", "Subscript out of range");
        return size_t(index - m_lower);
    }

    int32_t m_lower = 0;
    std::vector<T> m_elements;
};

}  // namespace tagwell
