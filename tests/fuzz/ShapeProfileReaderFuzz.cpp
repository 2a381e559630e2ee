// Fuzzes the shape profile reader: any input is read or refused with a FileError, and what is read
// holds only finite values.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/ShapeProfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kal::fuzz::FuzzInput in(data, size);
    try {
        const auto file = kal::parseShapeProfileFile(in.bytes, "fuzz.txt", in.options);
        const auto& p = file.profile;
        if (p.rows() < 2) std::abort();
        for (std::int32_t i = 1; i <= p.rows(); ++i)
            if (!std::isfinite(p(i, 1)) || !(p(i, 2) >= 0) || !std::isfinite(p(i, 2))) std::abort();
        if (!std::isfinite(file.averageDelta1) || !std::isfinite(file.biggestDelta1)) std::abort();
    } catch (const kal::FileError&) {
    }
    return 0;
}
