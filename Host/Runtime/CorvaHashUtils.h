// Integer- and string-keyed hash tables of the host runtime.
#pragma once

#include <string>
#include <unordered_map>

#include "Host/Runtime/NameList.h"

// String keys compare without regard to ASCII letter case.
struct TTextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept
    {
        size_t h = 1469598103934665603ull;
        for (char c : s) {
            const auto u = static_cast<unsigned char>(c);
            h = (h ^ ((u >= 'A' && u <= 'Z') ? u + 32 : u)) * 1099511628211ull;
        }
        return h;
    }
};
struct TTextEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};

template <class V>
using TStrKeyHash = std::unordered_map<std::string, V, TTextHash, TTextEqual>;
using TStrKeyStrHash = TStrKeyHash<std::string>;

template <class V>
using TIntKeyHash = std::unordered_map<int, V>;
