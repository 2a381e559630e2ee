// Fuzzes the x y z quaternion reader: any input is read or refused with a FileError, and what is read
// holds only finite values.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/RobotFileReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kal::fuzz::FuzzInput in(data, size);
    try {
        const auto set = kal::parseQuaternionFile(in.bytes, "fuzz.txt", in.options);
        const auto& p = set.points;
        if (p.count() < 1 || set.angles.rows() != p.count()) std::abort();
        for (std::int32_t i = 1; i <= p.count(); ++i) {
            if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i]) || !std::isfinite(p.z[i]) ||
                p.names[i].empty())
                std::abort();
            for (int c = 1; c <= 3; ++c)
                if (!std::isfinite(set.angles(i, c))) std::abort();
        }
    } catch (const kal::FileError&) {
    }
    return 0;
}
