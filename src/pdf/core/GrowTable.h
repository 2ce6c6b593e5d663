#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace folian {

// A 1-based table of records (entry 0 unused) that is sized by the writer's memory factor:
// its first size is factor * 10 entries, and an index past the end grows it to index + 10, or,
// with a factor above 1, to index + 10 + factor * index / 5 (rounded half to even).
template <typename T> class GrowTable {
public:
    // Makes room for a new entry `index` and returns it. Storing entry 1 sizes the table afresh,
    // dropping what an earlier document left. A factor of 0 counts as 1.
    T& make(int32_t index, int memoryUsage)
    {
        const int factor = memoryUsage < 1 ? 1 : memoryUsage;
        if (index <= 1 || m_upper == 0) {
            m_items.clear();
            m_upper = factor * 10;
        }
        grow(index, factor);
        T& entry = m_items[static_cast<std::size_t>(index < 0 ? 0 : index)];
        entry = T{};
        return entry;
    }

    // Makes sure entry `index` exists, keeping every entry (for tables filled out of order).
    T& ensure(int32_t index, int memoryUsage)
    {
        const int factor = memoryUsage < 1 ? 1 : memoryUsage;
        if (m_upper == 0) {
            m_upper = factor * 10;
        }
        grow(index, factor);
        return m_items[static_cast<std::size_t>(index < 0 ? 0 : index)];
    }

    T& operator[](int32_t index) { return m_items.at(static_cast<std::size_t>(index)); }
    const T& operator[](int32_t index) const { return m_items.at(static_cast<std::size_t>(index)); }

    // Drops every entry; the next store sizes the table afresh.
    void clear()
    {
        m_items.clear();
        m_upper = 0;
    }

    int32_t upperBound() const { return m_upper; }

private:
    void grow(int32_t index, int factor)
    {
        if (index > m_upper) {
            if (factor == 1) {
                m_upper = index + 10;
            } else {
                m_upper = index + 10 + static_cast<int32_t>(std::nearbyint(factor * static_cast<double>(index) / 5.0));
            }
        }
        if (m_items.size() < static_cast<std::size_t>(m_upper) + 1) {
            m_items.resize(static_cast<std::size_t>(m_upper) + 1);
        }
    }

    std::vector<T> m_items;
    int32_t m_upper = 0;
};

} // namespace folian
