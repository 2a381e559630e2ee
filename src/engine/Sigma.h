#pragma once
// A-posteriori standard deviation s0 and the per-axis sigmas of the residuals, in the length unit
// of the residuals (mm). The denominators are the weight sums less one (plus 1e-9), not the
// redundancy, so that results compare with those stored by earlier versions.
#include <cstdint>

#include "shared/Matrix.h"

namespace kal {

// Over rows 1..nObs of v and P (column 1): s0 = √(vᵀPv / (ΣP - 1 + 1e-9)), 0 when that denominator
// is not positive; sx, sy, sz over the rows 1, 4, 7, … / 2, 5, 8, … / 3, 6, 9, … as
// √(Σv²P / |ΣP - 1 + 1e-9|) (CalcSigma). All weights 0 give 0 everywhere. nU is not read.
void calculateSigma(const Matrix& v, const Matrix& P, std::int32_t nU, std::int32_t nObs, double& s0,
                    double& sx, double& sy, double& sz);

// The same for the R Dist mode, where rows 1..n of v hold one distance residual per identical point
// and point k weighs P(3k) (its z weight, which the solver gives all three of its rows): the
// formulas above over the n distance rows only, the other rows holding no observations
// (CalcSigmaDistanceRows).
void calculateSigmaDistanceRows(const Matrix& v, const Matrix& P, std::int32_t n, double& s0, double& sx,
                                double& sy, double& sz);

}  // namespace kal
