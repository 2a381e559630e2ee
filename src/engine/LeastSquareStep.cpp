#include "engine/LeastSquareStep.h"

#include <stdexcept>
#include <vector>

#include "engine/NormalEquations.h"
#include "shared/Errors.h"

namespace kal {

std::string iterationText(std::int32_t finishedIterations) {
    return std::string("Iteration ") + (finishedIterations >= 0 ? " " : "") +
           std::to_string(finishedIterations);
}

void leastSquareStep(const Matrix& A, const Matrix& l, const Matrix& P, Matrix& x, Matrix& v, Matrix& Qxx,
                     std::int32_t nU, std::int32_t nObs, EngineContext* ctx,
                     std::int32_t finishedIterations) {
    if (A.rows() < nObs || A.cols() < nU || l.rows() < nObs || P.rows() < nObs)
        throw std::out_of_range("LeastSquareStep: A, l or P smaller than the observations and unknowns");
    auto phase = [&](const char* text) {
        if (!ctx) return;
        ctx->setPanel(2, text);
        ctx->poll();
    };
    if (ctx) {
        ctx->setPanel(1, iterationText(finishedIterations));
        ctx->poll();
    }
    phase(kTextTranspose);
    phase(kTextAtP);
    phase(kTextAtPA);
    NormalEquations eq(nU);
    std::vector<double> row(static_cast<std::size_t>(nU + 1), 0.0);
    for (std::int32_t k = 1; k <= nObs; ++k) {
        for (std::int32_t c = 1; c <= nU; ++c) row[static_cast<std::size_t>(c)] = A(k, c);
        eq.addRow(row.data(), l(k, 1), P(k, 1));
    }
    phase(kTextInversion);
    const Matrix N = eq.normalMatrix();
    const Matrix w = eq.rightHandSide();
    phase(kTextAtPl);
    phase(kTextResults);
    solveNormalEquations(N, w, nU, Qxx, x);
    phase(kTextCorrections);
    if (v.rows() != nObs || v.cols() != 1) v.resize(nObs, 1);
    for (std::int32_t k = 1; k <= nObs; ++k) {
        double s = 0.0;
        for (std::int32_t c = 1; c <= nU; ++c)
            if (A(k, c) != 0.0 && x(c, 1) != 0.0) s += A(k, c) * x(c, 1);
        v(k, 1) = checkedFinite(s - l(k, 1), "the residuals");
    }
}

}  // namespace kal
