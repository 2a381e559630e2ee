// Fuzzes the x y z quaternion reader.
#include "OcsReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kal::fuzz::fuzzOcsReader(data, size, "fuzz.txt",
                                    [](auto&&... a) { return kal::parseQuaternionFile(a...); });
}
