#pragma once
// A set of named points as a reader returns it, before anything of the job changes. Arrays are
// 1-based like the job state's (element 0 unused); lengths in millimetres.
#include <cstdint>
#include <string>
#include <vector>

namespace kal {

struct PointSet {
    std::vector<std::string> names{std::string()};
    std::vector<double> x{0.0}, y{0.0}, z{0.0};

    std::int32_t count() const { return static_cast<std::int32_t>(names.size()) - 1; }
    void reserve(std::size_t n) {
        names.reserve(n + 1), x.reserve(n + 1), y.reserve(n + 1), z.reserve(n + 1);
    }
    void add(std::string name, double px, double py, double pz) {
        names.push_back(std::move(name)), x.push_back(px), y.push_back(py), z.push_back(pz);
    }
    bool operator==(const PointSet&) const = default;
};

}  // namespace kal
