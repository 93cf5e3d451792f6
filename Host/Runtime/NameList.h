// Sorted name list: entries (name, value) kept sorted by name, compared
// without regard to letter case, a second entry with an equal name ignored
// (the first one stays). Lookup is a binary search.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Case-insensitive ordering of ASCII letters; other bytes compare as unsigned.
int CompareText(std::string_view a, std::string_view b) noexcept;
bool SameText(std::string_view a, std::string_view b) noexcept;

template <class V>
class TSortedNameList {
public:
    using Entry = std::pair<std::string, V>;

    // Adds the entry unless the name is already present; true when added.
    bool Add(std::string_view name, V value)
    {
        auto it = LowerBound(name);
        if (it != entries_.end() && CompareText(it->first, name) == 0)
            return false;
        entries_.emplace(it, std::string(name), std::move(value));
        return true;
    }

    const V* Find(std::string_view name) const
    {
        auto it = LowerBound(name);
        if (it != entries_.end() && CompareText(it->first, name) == 0)
            return &it->second;
        return nullptr;
    }

    // Position of the name, or -1.
    int IndexOf(std::string_view name) const
    {
        auto it = LowerBound(name);
        if (it != entries_.end() && CompareText(it->first, name) == 0)
            return static_cast<int>(it - entries_.begin());
        return -1;
    }

    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    const Entry& operator[](int index) const { return entries_.at(static_cast<size_t>(index)); }
    auto begin() const noexcept { return entries_.begin(); }
    auto end() const noexcept { return entries_.end(); }
    void Clear() noexcept { entries_.clear(); }

private:
    typename std::vector<Entry>::const_iterator LowerBound(std::string_view name) const
    {
        return std::lower_bound(entries_.begin(), entries_.end(), name,
                                [](const Entry& e, std::string_view n) { return CompareText(e.first, n) < 0; });
    }
    typename std::vector<Entry>::iterator LowerBound(std::string_view name)
    {
        return std::lower_bound(entries_.begin(), entries_.end(), name,
                                [](const Entry& e, std::string_view n) { return CompareText(e.first, n) < 0; });
    }

    std::vector<Entry> entries_;
};
