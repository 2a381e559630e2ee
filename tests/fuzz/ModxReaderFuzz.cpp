// Fuzzes the ABB .modx reader.
#include "OcsReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kal::fuzz::fuzzOcsReader(data, size, "fuzz.modx",
                                    [](auto&&... a) { return kal::parseModxFile(a...); });
}
