// A name -> position index over a fixed list of names (the fields of a table,
// the properties of an element), built once and then only read, so any number
// of threads may look names up at once. Names compare without regard to
// ASCII letter case; a name listed twice keeps its first position.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class TRDXNameIndex {
public:
    TRDXNameIndex() = default;

    // Indexes positions 0 .. count-1, nameAt(i) giving the name at i (a
    // string_view or anything that converts to one). Returns the position of
    // the first name that repeats an earlier one, -1 when all differ.
    template <class NameAt>
    int Build(int count, NameAt nameAt)
    {
        Reset(count);
        int repeated = -1;
        for (int i = 0; i < count; ++i) {
            const std::string_view name = nameAt(i);
            const std::uint32_t hash = Hash(name);
            std::uint32_t k = hash & mask_;
            bool known = false;
            for (; slots_[k].position >= 0; k = (k + 1) & mask_)
                if (slots_[k].hash == hash && Same(nameAt(slots_[k].position), name)) {
                    known = true;
                    break;
                }
            if (known) {
                if (repeated < 0)
                    repeated = i;
                continue;
            }
            slots_[k] = {hash, i};
        }
        return repeated;
    }

    // Position of the name, -1 when not listed; nameAt as given to Build.
    template <class NameAt>
    int Find(std::string_view name, NameAt nameAt) const
    {
        if (slots_.empty())
            return -1;
        const std::uint32_t hash = Hash(name);
        for (std::uint32_t i = hash & mask_;; i = (i + 1) & mask_) {
            const TSlot& slot = slots_[i];
            if (slot.position < 0)
                return -1;
            if (slot.hash == hash && Same(nameAt(slot.position), name))
                return slot.position;
        }
    }

    // Hash of a name with ASCII letters folded to lower case.
    static std::uint32_t Hash(std::string_view name) noexcept
    {
        std::uint64_t h = name.size() * 0x9E3779B97F4A7C15ull;
        for (size_t i = 0; i < name.size(); i += 8)
            h = (h ^ Chunk(name, i)) * 0xFF51AFD7ED558CCDull;
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }
    // Names equal without regard to ASCII letter case (as SameText).
    static bool Same(std::string_view a, std::string_view b) noexcept
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); i += 8)
            if (Chunk(a, i) != Chunk(b, i))
                return false;
        return true;
    }

private:
    // Up to 8 bytes of the name from position i, ASCII letters folded to lower
    // case, zero-filled past the end.
    static std::uint64_t Chunk(std::string_view name, size_t i) noexcept
    {
        std::uint64_t x = 0;
        if (name.size() - i >= 8)
            std::memcpy(&x, name.data() + i, 8);
        else
            for (size_t k = name.size(); k-- > i;)
                x = (x << 8) | static_cast<unsigned char>(name[k]);
        constexpr std::uint64_t ones = 0x0101010101010101ull;
        const std::uint64_t low = x & (ones * 0x7F);
        const std::uint64_t fromA = low + ones * (0x80 - 'A');      // high bit: byte >= 'A'
        const std::uint64_t pastZ = low + ones * (0x80 - 'Z' - 1);  // high bit: byte > 'Z'
        const std::uint64_t upper = (fromA ^ pastZ) & ~x & (ones * 0x80);
        return x | (upper >> 2);
    }

    struct TSlot {
        std::uint32_t hash = 0;
        std::int32_t position = -1;  // -1: empty
    };
    void Reset(int count);

    std::vector<TSlot> slots_;  // open addressing, linear probing, at most half full
    std::uint32_t mask_ = 0;
};
