// Fuzzes the FANUC .ls reader.
#include "OcsReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return kal::fuzz::fuzzOcsReader(data, size, "fuzz.ls",
                                    [](auto&&... a) { return kal::parseFanucLsFile(a...); });
}
