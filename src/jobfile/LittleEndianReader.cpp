#include "jobfile/LittleEndianReader.h"

#include <cmath>

namespace kal {

double LittleEndianReader::finiteF64(const char* what) {
    std::size_t at = pos_;
    double v = f64(what);
    if (!std::isfinite(v)) {
        pos_ = at;
        fail(std::string(what) + " is not a finite number");
    }
    return v;
}

float LittleEndianReader::finiteF32(const char* what) {
    std::size_t at = pos_;
    float v = f32(what);
    if (!std::isfinite(v)) {
        pos_ = at;
        fail(std::string(what) + " is not a finite number");
    }
    return v;
}

std::string_view LittleEndianReader::bytes(std::size_t n, const char* what) {
    if (remaining() < n) fail(std::string("the file ends inside ") + what);
    auto b = data_.substr(pos_, n);
    pos_ += n;
    return b;
}

std::string_view LittleEndianReader::countedBytes(const char* what) {
    const std::size_t at = pos_;
    return textOfLength(i32(what), at, what);
}

std::string_view LittleEndianReader::elementBytes(const char* what) {
    const std::size_t at = pos_;
    return textOfLength(i16(what), at, what);
}

std::string_view LittleEndianReader::textOfLength(std::int64_t n, std::size_t lengthAt, const char* what) {
    // A refused length leaves the position at the length field, so the message points at it.
    if (n < 0) {
        pos_ = lengthAt;
        fail(std::string(what) + " has the negative length " + std::to_string(n));
    }
    if (remaining() < static_cast<std::size_t>(n)) {
        pos_ = lengthAt;
        fail(std::string(what) + " claims " + std::to_string(n) + " characters, more than the file holds");
    }
    return bytes(static_cast<std::size_t>(n), what);
}

std::int64_t LittleEndianReader::requireRoom(std::int64_t count, std::int64_t minBytes,
                                             const char* what) const {
    if (count < 0) fail(std::string(what) + " has the negative size " + std::to_string(count));
    if (minBytes > 0 && count > static_cast<std::int64_t>(remaining()) / minBytes)
        fail(std::string(what) + " claims " + std::to_string(count) + " elements, more than the file holds");
    return count;
}

void LittleEndianReader::fail(const std::string& what) const {
    throw FormatError(what + " (at byte " + std::to_string(pos_) + ").");
}

}  // namespace kal
