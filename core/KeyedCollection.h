#pragma once

#include <list>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/TextCase.h"

namespace tagwell {

// An ordered collection of values under text keys, the keys compared
// without regard to letter case: what the object layer keeps its groups and
// items in. Adding, finding and removing cost the same whatever the size;
// iteration follows the order of addition.
template <class T>
class KeyedCollection {
public:
    struct Entry {
        std::string key;
        T value;
    };

    size_t count() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    bool contains(const std::string& key) const { return m_index.count(folded(key)) != 0; }

    // False (and nothing changes) when the key is already present.
    bool add(const std::string& key, T value)
    {
        auto folding = folded(key);
        if (m_index.count(folding))
            return false;
        m_entries.push_back({key, std::move(value)});
        m_index.emplace(std::move(folding), std::prev(m_entries.end()));
        return true;
    }

    // nullptr when absent.
    T* find(const std::string& key)
    {
        auto it = m_index.find(folded(key));
        return it == m_index.end() ? nullptr : &it->second->value;
    }
    const T* find(const std::string& key) const
    {
        auto it = m_index.find(folded(key));
        return it == m_index.end() ? nullptr : &it->second->value;
    }

    bool remove(const std::string& key)
    {
        auto it = m_index.find(folded(key));
        if (it == m_index.end())
            return false;
        m_entries.erase(it->second);
        m_index.erase(it);
        return true;
    }

    // Removes the last entry and returns its value.
    T takeLast()
    {
        T value = std::move(m_entries.back().value);
        m_index.erase(folded(m_entries.back().key));
        m_entries.pop_back();
        return value;
    }

    void clear()
    {
        m_entries.clear();
        m_index.clear();
    }

    auto begin() { return m_entries.begin(); }
    auto end() { return m_entries.end(); }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

private:
    static std::string folded(const std::string& key) { return TextCase::lower(key); }

    std::list<Entry> m_entries;
    std::unordered_map<std::string, typename std::list<Entry>::iterator> m_index;
};

}  // namespace tagwell
