// Integer arithmetic on the records' 32-bit fields that wraps around on overflow.
// Levels, lives, armour and counters come from files as they stand, so the
// engine must not run into undefined behaviour on an extreme stored value.
#pragma once

#include <cstdint>

namespace brakkon {

/// a + b modulo 2^32, as a signed 32-bit integer.
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

/// a - b modulo 2^32.
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

/// a x b modulo 2^32.
constexpr std::int32_t WrapMul(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

} // namespace brakkon
