// In-memory byte streams for the file formats: every integer is signed 32-bit
// little-endian, every byte unsigned 8-bit, with no padding between items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace brakkon {

/// Thrown by ByteReader when a read runs past the end of its data, and by the
/// formats' readers for damage found inside; what() says it of the file
/// ("ends early", "holds a negative count").
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Why a read of a file cut short failed.
inline constexpr const char* WhyEndsEarly = "ends early";

/// Appends items to a growing byte buffer.
class ByteWriter {
public:
    void WriteInt32(std::int32_t value);
    void WriteByte(std::uint8_t value);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    void WriteZeros(std::size_t count);

    [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    [[nodiscard]] std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
    [[nodiscard]] std::size_t Size() const { return bytes_.size(); }

private:
    std::vector<std::uint8_t> bytes_;
};

/// Reads items from a span of bytes it does not own; throws StreamError when
/// a read would run past the end.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    [[nodiscard]] std::int32_t ReadInt32();
    [[nodiscard]] std::uint8_t ReadByte();
    [[nodiscard]] std::span<const std::uint8_t> ReadBytes(std::size_t count);
    void Skip(std::size_t count) { (void)ReadBytes(count); }

    /// A count read from the stream, checked before anything is allocated for
    /// it: not negative, and at least count x minItemSize bytes still unread.
    [[nodiscard]] std::size_t ReadCount(std::size_t minItemSize);

    [[nodiscard]] std::size_t Position() const { return pos_; }
    [[nodiscard]] std::size_t Remaining() const { return data_.size() - pos_; }
    [[nodiscard]] std::span<const std::uint8_t> Rest() const { return data_.subspan(pos_); }
    void Rewind() { pos_ = 0; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

} // namespace brakkon
