#pragma once
// Reads little-endian binary fields from a byte buffer with every bound checked: a read past the
// end, or a count that the bytes left cannot hold, throws FormatError naming the place, before
// anything is allocated from it.
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "shared/Errors.h"

namespace kal {

class LittleEndianReader {
  public:
    explicit LittleEndianReader(std::string_view data) : data_(data) {}

    std::int16_t i16(const char* what) { return static_cast<std::int16_t>(get<std::uint16_t>(what)); }
    std::int32_t i32(const char* what) { return static_cast<std::int32_t>(get<std::uint32_t>(what)); }
    float f32(const char* what) { return std::bit_cast<float>(get<std::uint32_t>(what)); }
    double f64(const char* what) { return std::bit_cast<double>(get<std::uint64_t>(what)); }
    // A 16-bit Boolean: -1 true, 0 false; any other non-zero value counts as true.
    bool boolean(const char* what) { return i16(what) != 0; }

    // A finite double; NaN or infinity is damage, never a value.
    double finiteF64(const char* what);
    float finiteF32(const char* what);

    std::string_view bytes(std::size_t n, const char* what);
    // An i32 count, then that many bytes.
    std::string_view countedBytes(const char* what);
    // An i16 length, then that many bytes.
    std::string_view elementBytes(const char* what);

    // Checks that `count` elements of at least `minBytes` each can follow; returns count.
    std::int64_t requireRoom(std::int64_t count, std::int64_t minBytes, const char* what) const;

    std::size_t offset() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    std::string_view rest() const { return data_.substr(pos_); }
    void seek(std::size_t pos) { pos_ = pos; }

    [[noreturn]] void fail(const std::string& what) const;

  private:
    // The n bytes of a text whose length field started at `lengthAt`.
    std::string_view textOfLength(std::int64_t n, std::size_t lengthAt, const char* what);
    template <typename U>
    U get(const char* what) {
        if (remaining() < sizeof(U)) fail(std::string("the file ends inside ") + what);
        U u = 0;
        for (std::size_t i = 0; i < sizeof(U); ++i)
            u |= static_cast<U>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
        pos_ += sizeof(U);
        return u;
    }
    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace kal
