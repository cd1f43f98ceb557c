// A small streaming JSON writer: brakkon-data's and the simulator's output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

/// Writes one compact JSON document into a string. Commas and quoting are
/// handled here; the caller opens and closes objects and arrays in order and
/// names every member inside an object with Key().
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view name);
    JsonWriter& Int(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    JsonWriter& String(std::string_view value);

    /// A member: Key(name) followed by the value.
    JsonWriter& Member(std::string_view name, std::int64_t value) { return Key(name).Int(value); }

    [[nodiscard]] const std::string& Text() const { return out_; }

private:
    void BeforeValue();
    void Quote(std::string_view value);

    std::string out_;
    std::vector<bool> first_; ///< per open container: no member written yet
    bool afterKey_ = false;
};

} // namespace brakkon
