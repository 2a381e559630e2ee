#pragma once
// Builds little-endian byte strings field by field, so tests can state a file's exact bytes
// without the codec under test.
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace kal::testing {

class ByteBuilder {
  public:
    ByteBuilder& i16(std::int16_t v) { return raw(static_cast<std::uint16_t>(v), 2); }
    ByteBuilder& i32(std::int32_t v) { return raw(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& f32(float v) { return raw(std::bit_cast<std::uint32_t>(v), 4); }
    ByteBuilder& f64(double v) { return raw(std::bit_cast<std::uint64_t>(v), 8); }
    ByteBuilder& boolean(bool v) { return i16(v ? -1 : 0); }
    ByteBuilder& bytes(std::string_view b) {
        s_.append(b);
        return *this;
    }
    // i32 count + bytes
    ByteBuilder& counted(std::string_view b) { return i32(static_cast<std::int32_t>(b.size())).bytes(b); }
    // i16 length + bytes
    ByteBuilder& element(std::string_view b) { return i16(static_cast<std::int16_t>(b.size())).bytes(b); }
    ByteBuilder& empty() { return i16(0); }  // variant element VT_EMPTY
    ByteBuilder& variant(double v) { return i16(5).f64(v); }

    const std::string& str() const { return s_; }
    std::size_t size() const { return s_.size(); }

  private:
    ByteBuilder& raw(std::uint64_t u, int n) {
        for (int i = 0; i < n; ++i) s_ += static_cast<char>((u >> (8 * i)) & 0xFF);
        return *this;
    }
    std::string s_;
};

}  // namespace kal::testing
