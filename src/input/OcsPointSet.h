#pragma once
// An OCS as the robot-controller and angle-carrying readers return it: the points and, per point,
// the robot angles A (about z), B (about y'), C (about x'') in radians.
#include <cstdint>
#include <optional>

#include "input/PointSet.h"
#include "shared/Matrix.h"

namespace kal {

struct AbcRanges {
    double range1 = 0, range2 = 0, range3 = 0;  // spread of A, B, C over all points (radians)
};

struct OcsPointSet {
    PointSet points;
    Matrix angles;  // (0..n, 0..3): column 1 = A, 2 = B, 3 = C
    // KUKA and quaternion files set the ranges; the other formats leave them alone.
    std::optional<AbcRanges> ranges;
    // x y z A B C and quaternion files: the check's findings, kept in the job as for ASCII files.
    char delimiter = 0;
    bool hasNames = true;
    // Set when the user agreed to rewrite the file's decimal separator: the bytes the points were
    // read from, to put in place of the file.
    std::optional<std::string> rewrittenBytes;

    void add(std::string name, double x, double y, double z, double a, double b, double c);
    // Sizes `angles` to the points and fills it from the rows gathered by add().
    void finish(bool withRanges);

  private:
    std::vector<double> abc_;
};

// The angles (A, B, C) of a quaternion (q1 = w, q2, q3, q4): normalised first; nullopt for a
// quaternion of zero (or non-finite) length.
struct Abc {
    double a, b, c;
};
std::optional<Abc> abcFromQuaternion(double q1, double q2, double q3, double q4);

}  // namespace kal
