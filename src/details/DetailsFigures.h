#pragma once
// Every figure of the transformation details window, computed from the job in one pass
// (DetailFormFuellen): the rotation matrix, the two angle solutions of five rotation sequences,
// the homogeneous [R T; 0 1] matrix, the affine (shape) and scale matrices, the parameter sets of
// the inverse transformation, the quaternion with its rotation angle and axis, and the sigmas of
// the last completed Monte Carlo series. Texts follow the job's display units and patterns;
// matrix and quaternion cells use MatrixFormat. Nothing here shows a message: a transformation
// without an inverse parameter set is the value `inverseFound == false` and the text
// "no solution" in the inverse table.
#include <array>

#include "details/AngleSequences.h"
#include "details/TextTable.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"
#include "shared/Vectors.h"

namespace kal {

inline constexpr const char* kNoSolutionText = "no solution";

struct DetailsFigures {
    Matrix rotation = Matrix(3, 3);  // R from RotX..RotZ (DetailsRotMatrix); zero before any fill
    Matrix affine = Matrix(3, 3);    // K from the shape angles (DetailsAffineMatrix)
    Vec3 solution1{}, solution2{};   // the solutions of the sequence computed last (DetailsSolution1/2)
    Vec3 robCadAngles{};             // radians, entries 1..3 (RobCadAngle1..3)
    bool inverseFound = false;

    TextTable rotationGrid;                  // GridRotMatrix, 3 × 3
    std::array<TextTable, 5> sequenceGrids;  // GridRotXYZ .. GridRotZYZ by AngleSequence, 4 × 3
    TextTable homogeneousGrid;               // GridHomogen, 4 × 4
    TextTable affineGrid;                    // GridAffineMatrix, 3 × 3
    TextTable scaleGrid;                     // GridScaleMatrix, 3 × 3
    TextTable inverseGrid;                   // GridInverse: 1 × 1 empty, 13 × (n + 1), or 2 × 2
    TextTable quaternionGrid;                // GridQuat, 11 × 2
    TextTable monteCarloGrid;                // GridMonteCarlo, 19 × 2

    const TextTable& sequenceGrid(AngleSequence s) const {
        return sequenceGrids[static_cast<std::size_t>(s)];
    }
};

// The window as it loads: every table in its design size and empty, the matrices zero.
DetailsFigures emptyDetails();

// Fills every table from the job (DetailFormFuellen). Writes InvTraX..InvTraZ and
// InverseSolutionTable of the job, as the inverse computation does; reads nothing else from
// windows: the estimated parameters are the rows whose state is "float". A zero scale has no
// inverse: it gives "no solution" like any other transformation without one. A Monte Carlo sigma
// is left empty where the series had fewer than two runs or a surface left the value open
// (JobState::McOpenBySurface).
DetailsFigures computeDetails(JobState& job);

// The inverse table of the job's InvTraX..InvTraZ and InverseSolutionTable: 13 × (n + 1) with
// "Solution 1".."Solution n" for n parameter sets, 2 × 2 with "no solution" for none.
TextTable inverseGridOf(const JobState& job);

// The RobCad angles of a rotation matrix: of the two z-x'-y'' solutions the one with the smaller
// sum of absolute angles (solution 2 on a tie), negated; entries 1..3 in radians.
Vec3 robCadAnglesOf(const Matrix& rotation);

}  // namespace kal
