// FNV-1a, 64 bits: the game's fingerprint of runs and course files.
#pragma once

#include <cstddef>
#include <cstdint>

class Fnv1a {
public:
    void add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001b3ull;
        }
    }
    template <typename Value>
    void add(const Value& value)
    {
        add(&value, sizeof value);
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};
