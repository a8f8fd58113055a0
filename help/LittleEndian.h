#pragma once
// Whole numbers as the help file stores them: little-endian, unaligned. The
// caller has checked that the bytes are there.
#include <cstddef>
#include <cstdint>
#include <string_view>

inline std::uint32_t ReadU32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

inline std::uint64_t ReadU64(std::string_view bytes, std::size_t at)
{
    return ReadU32(bytes, at) | (std::uint64_t(ReadU32(bytes, at + 4)) << 32);
}
