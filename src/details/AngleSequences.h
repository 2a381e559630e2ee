#pragma once
// The five rotation sequences the details window shows, each with the procedure that finds its two
// angle solutions, the row captions of its grid and of its clipboard copy, and which element of
// the solution each row shows. The rows stand in the sequence's own order (first rotation first);
// for z-x'-y'' that is Z (element 3, about z), X' (element 1, about x), Y'' (element 2, about y),
// as the rotation functions number the angles by their axis.
#include <array>
#include <string_view>

#include "shared/Matrix.h"
#include "shared/Vectors.h"

namespace kal {

enum class AngleSequence { XYZ, ZYX, ZXY, ZXZ, ZYZ };
inline constexpr std::array<AngleSequence, 5> kAngleSequences{
    AngleSequence::XYZ, AngleSequence::ZYX, AngleSequence::ZXY, AngleSequence::ZXZ, AngleSequence::ZYZ};

struct AngleSequenceInfo {
    void (*solve)(const Matrix& M, Vec3& S1, Vec3& S2);  // AnglesFromMat...
    std::array<std::string_view, 3> gridCaptions;        // rows 1..3 of the grid
    std::array<std::string_view, 3> copyCaptions;        // lines 2..4 of the copy (each ends with a blank)
    std::array<int, 3> elements;                         // element of the solution shown by rows 1..3
};

const AngleSequenceInfo& angleSequenceInfo(AngleSequence sequence);

}  // namespace kal
