#include "game/ByteStream.h"

namespace brakkon {

void ByteWriter::WriteInt32(std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    bytes_.push_back(static_cast<std::uint8_t>(u));
    bytes_.push_back(static_cast<std::uint8_t>(u >> 8));
    bytes_.push_back(static_cast<std::uint8_t>(u >> 16));
    bytes_.push_back(static_cast<std::uint8_t>(u >> 24));
}

void ByteWriter::WriteByte(std::uint8_t value) { bytes_.push_back(value); }

void ByteWriter::WriteBytes(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::WriteZeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

std::int32_t ByteReader::ReadInt32()
{
    const auto b = ReadBytes(4);
    const std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return static_cast<std::int32_t>(u);
}

std::uint8_t ByteReader::ReadByte() { return ReadBytes(1)[0]; }

std::span<const std::uint8_t> ByteReader::ReadBytes(std::size_t count)
{
    if (count > Remaining()) throw StreamError(WhyEndsEarly);
    auto out = data_.subspan(pos_, count);
    pos_ += count;
    return out;
}

std::size_t ByteReader::ReadCount(std::size_t minItemSize)
{
    const std::int32_t count = ReadInt32();
    if (count < 0) throw StreamError("holds a negative count");
    const auto n = static_cast<std::size_t>(count);
    if (minItemSize > 0 && n > Remaining() / minItemSize) throw StreamError(WhyEndsEarly); // a count of more than is left
    return n;
}

} // namespace brakkon
