#pragma once
// A 1-based array of doubles whose elements remember whether they were ever assigned.
// Arithmetic reads an unassigned element as 0; the job file stores the tag (empty or double).
#include <cassert>
#include <cstdint>
#include <vector>

namespace kal {

class TaggedArray {
  public:
    TaggedArray() = default;
    explicit TaggedArray(std::int32_t upper) { resize(upper); }

    // Upper bound (the element count; element 0 stays unused and unassigned).
    std::int32_t upper() const { return static_cast<std::int32_t>(values_.size()) - 1; }

    // Resizes to 0..upper keeping existing elements; new elements are unassigned.
    void resize(std::int32_t upper) {
        assert(upper >= 0);
        values_.resize(static_cast<std::size_t>(upper + 1), 0.0);
        assigned_.resize(static_cast<std::size_t>(upper + 1), false);
    }
    void clear() { resize(0); }

    double operator[](std::int32_t i) const {
        assert(i >= 0 && i <= upper());
        return values_[static_cast<std::size_t>(i)];
    }
    void set(std::int32_t i, double v) {
        assert(i >= 0 && i <= upper());
        values_[static_cast<std::size_t>(i)] = v;
        assigned_[static_cast<std::size_t>(i)] = true;
    }
    void unset(std::int32_t i) {
        assert(i >= 0 && i <= upper());
        values_[static_cast<std::size_t>(i)] = 0.0;
        assigned_[static_cast<std::size_t>(i)] = false;
    }
    bool isAssigned(std::int32_t i) const {
        assert(i >= 0 && i <= upper());
        return assigned_[static_cast<std::size_t>(i)];
    }

    const double* data() const { return values_.data(); }
    bool operator==(const TaggedArray&) const = default;

  private:
    std::vector<double> values_ = std::vector<double>(1, 0.0);
    std::vector<bool> assigned_ = std::vector<bool>(1, false);
};

}  // namespace kal
