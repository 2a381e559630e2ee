// Fuzzes the ASCII point-file checks and reader: any input is read or refused with a FileError,
// and what is read holds only finite coordinates.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/AsciiPointReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kal::fuzz::FuzzInput in(data, size);
    try {
        const auto file = kal::parseAsciiPointFile(in.bytes, "fuzz.txt", in.options);
        const auto& p = file.points;
        if (p.count() < 1) std::abort();
        for (std::int32_t i = 1; i <= p.count(); ++i)
            if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i]) || !std::isfinite(p.z[i]) ||
                p.names[i].empty())
                std::abort();
    } catch (const kal::FileError&) {
    }
    return 0;
}
