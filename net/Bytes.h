// Little-endian fields written to and read off the front of a packet, for
// the decoders of what the network brings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace brakkon {

class ByteWriter {
public:
    template <typename Int>
    void Put(Int value)
    {
        using U = std::make_unsigned_t<Int>;
        auto u = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(Int); ++i) {
            bytes_.push_back(static_cast<std::uint8_t>(u & 0xffu));
            u = static_cast<U>(static_cast<std::uint64_t>(u) >> 8);
        }
    }
    void PutBytes(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

/// A read past the end fails and leaves the value alone.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    template <typename Int>
    [[nodiscard]] bool Get(Int& value)
    {
        if (bytes_.size() - pos_ < sizeof(Int)) return false;
        std::make_unsigned_t<Int> u = 0;
        for (std::size_t i = 0; i < sizeof(Int); ++i)
            u = static_cast<decltype(u)>(u | static_cast<decltype(u)>(bytes_[pos_ + i]) << (8 * i));
        pos_ += sizeof(Int);
        value = static_cast<Int>(u);
        return true;
    }
    [[nodiscard]] bool GetText(std::size_t size, std::string& text)
    {
        if (bytes_.size() - pos_ < size) return false;
        text.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), size);
        pos_ += size;
        return true;
    }
    [[nodiscard]] std::size_t Left() const { return bytes_.size() - pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

} // namespace brakkon
