#include "details/SequenceSolutions.h"

#include <array>
#include <cmath>
#include <numbers>

#include "shared/Rotations.h"

namespace kal {

namespace {

using R3 = std::array<std::array<double, 3>, 3>;
enum Axis { X, Y, Z };

struct Order {
    // The elementary rotations from the left: R = A(first)·B(middle)·C(last); the element of the
    // solution each angle is, and the builder of the sequence.
    Axis axes[3];
    std::size_t elements[3];
    void (*build)(double, double, double, Matrix&);
};

const Order& orderOf(AngleSequence s) {
    static const std::array<Order, 5> orders{{
        {{X, Y, Z}, {1, 2, 3}, matFromAnglesXYZ},
        {{Z, Y, X}, {3, 2, 1}, matFromAnglesZYX},
        {{Z, X, Y}, {3, 1, 2}, matFromAnglesZXY},
        {{Z, X, Z}, {1, 2, 3}, matFromAnglesZXZ},
        {{Z, Y, Z}, {1, 2, 3}, matFromAnglesZYZ},
    }};
    return orders[static_cast<std::size_t>(s)];
}

R3 elementary(Axis axis, double a) {
    const double c = std::cos(a), s = std::sin(a);
    switch (axis) {
        case X:
            return {{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
        case Y:
            return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
        default:
            return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
    }
}

R3 times(const R3& a, const R3& b) {
    R3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}

// The angle of an elementary rotation about `axis` that N stands for.
double angleAbout(Axis axis, const R3& N) {
    switch (axis) {
        case X:
            return std::atan2(N[2][1], N[1][1]);
        case Y:
            return std::atan2(N[0][2], N[2][2]);
        default:
            return std::atan2(N[1][0], N[0][0]);
    }
}

double rebuildError(const Order& o, const Matrix& M, const Vec3& s) {
    Matrix rebuilt(3, 3);
    o.build(s[1], s[2], s[3], rebuilt);
    double sum = 0;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) sum += std::abs(rebuilt(i, j) - M(i, j));
    return sum;
}

// The solution with the given middle and last angles whose first angle rebuilds M: A(first) =
// R·C(last)ᵀ·B(middle)ᵀ, R the untransposed rotation (M stores Rᵀ).
Vec3 withLastAngle(const Order& o, const Matrix& M, double middle, double last) {
    R3 R{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) R[i][j] = M(j + 1, i + 1);
    const R3 N = times(times(R, elementary(o.axes[2], -last)), elementary(o.axes[1], -middle));
    Vec3 s{};
    s[o.elements[0]] = angleAbout(o.axes[0], N);
    s[o.elements[1]] = middle;
    s[o.elements[2]] = last;
    return s;
}

void mend(const Order& o, const Matrix& M, Vec3& s, double last) {
    constexpr double kTolerance = 1e-9;
    if (rebuildError(o, M, s) <= kTolerance) return;
    const Vec3 mended = withLastAngle(o, M, s[o.elements[1]], last);
    if (rebuildError(o, M, mended) < rebuildError(o, M, s)) s = mended;
}

}  // namespace

void solveSequence(AngleSequence sequence, const Matrix& M, Vec3& s1, Vec3& s2) {
    angleSequenceInfo(sequence).solve(M, s1, s2);
    const Order& o = orderOf(sequence);
    mend(o, M, s1, 0.0);
    mend(o, M, s2, std::numbers::pi);
}

}  // namespace kal
