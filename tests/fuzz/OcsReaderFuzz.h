#pragma once
// The body shared by the robot-file fuzz targets: any input is read or refused with a
// FileError, and what is read holds at least one named point with finite coordinates and angles.
#include <cmath>
#include <cstdlib>

#include "FuzzSupport.h"
#include "input/RobotFileReaders.h"

namespace kal::fuzz {

template <class Parse>
int fuzzOcsReader(const std::uint8_t* data, std::size_t size, const char* path, Parse parse) {
    FuzzInput in(data, size);
    try {
        const auto set = parse(in.bytes, path, in.options);
        const auto& p = set.points;
        if (p.count() < 1 || set.angles.rows() != p.count()) std::abort();
        for (std::int32_t i = 1; i <= p.count(); ++i) {
            if (!std::isfinite(p.x[i]) || !std::isfinite(p.y[i]) || !std::isfinite(p.z[i]) ||
                p.names[i].empty())
                std::abort();
            for (int c = 1; c <= 3; ++c)
                if (!std::isfinite(set.angles(i, c))) std::abort();
        }
    } catch (const FileError&) {
    }
    return 0;
}

}  // namespace kal::fuzz
