// Fuzzes the distance-network file reader: any input is read or refused with a FileError, and what is read
// holds only finite values.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/NetworkFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kal::fuzz::FuzzInput in(data, size);
    try {
        const auto file = kal::parseNetworkFile(in.bytes, "fuzz.txt", in.options);
        if (file.stationData.rows() != file.stationCount() || file.pointData.rows() != file.pointCount() ||
            file.from.size() != file.distances.size() || file.to.size() != file.distances.size())
            std::abort();
        for (double d : file.distances)
            if (!std::isfinite(d)) std::abort();
    } catch (const kal::FileError&) {
    }
    return 0;
}
