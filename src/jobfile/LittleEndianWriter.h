#pragma once
// Appends little-endian binary fields to a byte buffer: the primitives of the job file.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "shared/Errors.h"

namespace kal {

class LittleEndianWriter {
  public:
    void i16(std::int16_t v) { put(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { put(static_cast<std::uint32_t>(v)); }
    void f32(float v) { put(std::bit_cast<std::uint32_t>(v)); }
    void f64(double v) { put(std::bit_cast<std::uint64_t>(v)); }
    void boolean(bool v) { i16(v ? -1 : 0); }
    void bytes(std::string_view b) { buf_.append(b); }

    // An i32 count, then the bytes (a text already in the file's code page).
    void countedBytes(std::string_view b) {
        i32(checkedCount(b.size(), INT32_MAX));
        bytes(b);
    }
    // An i16 length, then the bytes. A text longer than 32767 bytes is refused, never cut.
    void elementBytes(std::string_view b) {
        i16(static_cast<std::int16_t>(checkedCount(b.size(), INT16_MAX)));
        bytes(b);
    }

    std::size_t size() const { return buf_.size(); }
    void reserve(std::size_t n) { buf_.reserve(n); }
    std::string& buffer() { return buf_; }
    std::string take() { return std::move(buf_); }

  private:
    template <typename U>
    void put(U u) {
        char b[sizeof(U)];
        for (std::size_t i = 0; i < sizeof(U); ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
        buf_.append(b, sizeof(U));
    }
    static std::int32_t checkedCount(std::size_t n, std::int32_t limit) {
        if (n > static_cast<std::size_t>(limit))
            throw FormatError("A text of " + std::to_string(n) +
                              " characters is too long for the job file (at most " + std::to_string(limit) +
                              ").");
        return static_cast<std::int32_t>(n);
    }
    std::string buf_;
};

}  // namespace kal
