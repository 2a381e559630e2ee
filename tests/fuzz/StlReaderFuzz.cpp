// Fuzzes the ASCII STL reader: any input is read or refused with a FileError, and what is read
// holds only finite values.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/StlReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kal::fuzz::FuzzInput in(data, size);
    try {
        const auto facets = kal::parseStlFile(in.bytes, "fuzz.stl", in.options);
        for (const auto& t : facets)
            for (const auto& v : t)
                for (double c : v)
                    if (!std::isfinite(c)) std::abort();
    } catch (const kal::FileError&) {
    }
    return 0;
}
