// Fuzzes the KUKA .dat reader.
#include "OcsReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kal::fuzz::fuzzOcsReader(data, size, "fuzz.dat",
                                    [](auto&&... a) { return kal::parseKukaDatFile(a...); });
}
