#include "engine/TransformModel.h"

#include <cmath>
#include <stdexcept>

#include "shared/Errors.h"

namespace kal {

namespace {

void checkPointIndex(const JobState& job, std::int32_t i) {
    if (i < 1 || i > job.McsCount || i > job.MCS_X.upper() || i > job.MCS_Y.upper() ||
        i >= static_cast<std::int32_t>(job.MCS_Z.size()))
        throw std::out_of_range("MCS point index " + std::to_string(i) + " outside the point set");
}

// p := a·(x, y, z) over rows 1..3, summed in column order with the zero skip of matMult.
void multiplyVector(const WorkMatrix& a, const double x[4], double p[4]) {
    for (int i = 1; i <= 3; ++i) {
        double s = 0.0;
        for (int k = 1; k <= 3; ++k)
            if (a[i][k] != 0.0 && x[k] != 0.0) s += a[i][k] * x[k];
        p[i] = s;
    }
}

}  // namespace

WorkMatrix multiplyWork(const WorkMatrix& a, const WorkMatrix& b) {
    WorkMatrix c{};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            double s = 0.0;
            for (int k = 1; k <= 3; ++k)
                if (a[i][k] != 0.0 && b[k][j] != 0.0) s += a[i][k] * b[k][j];
            c[i][j] = s;
        }
    return c;
}

void buildRotationMatrix(const JobState& job, H3DMatrices& m) {
    const double sa = std::sin(job.RotXSeed), ca = std::cos(job.RotXSeed);
    const double sb = std::sin(job.RotYSeed), cb = std::cos(job.RotYSeed);
    const double sc = std::sin(job.RotZSeed), cc = std::cos(job.RotZSeed);
    WorkMatrix& r = m.H3D_Matrix1;
    r[1][1] = cb * cc;
    r[1][2] = ca * sc + sa * sb * cc;
    r[1][3] = sa * sc - ca * sb * cc;
    r[2][1] = -cb * sc;
    r[2][2] = ca * cc - sa * sb * sc;
    r[2][3] = sa * cc + ca * sb * sc;
    r[3][1] = sb;
    r[3][2] = -sa * cb;
    r[3][3] = ca * cb;
}

void shapeMatrixFromAngles(double xy, double az, double zt, WorkMatrix& k) {
    k[1][1] = 1.0;
    k[1][2] = std::sin(xy);
    k[1][3] = std::sin(zt) * std::cos(az);
    k[2][1] = 0.0;
    k[2][2] = std::cos(xy);
    k[2][3] = std::sin(zt) * std::sin(az);
    k[3][1] = 0.0;
    k[3][2] = 0.0;
    k[3][3] = std::cos(zt);
}

void shapeMatrixFromAngles(double xy, double az, double zt, Matrix& M) {
    if (M.rows() < 3 || M.cols() < 3)
        throw std::out_of_range("ShapeMatrixFromAngles: matrix smaller than 3 x 3");
    WorkMatrix k{};
    shapeMatrixFromAngles(xy, az, zt, k);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) M(i, j) = k[i][j];
}

void buildShapeMatrix(const JobState& job, H3DMatrices& m) {
    shapeMatrixFromAngles(job.Params[kParXY], job.Params[kAzimuth], job.Params[kZtoXY], m.H3D_Matrix2);
}

void buildScaleMatrix(const JobState& job, H3DMatrices& m) {
    WorkMatrix& s = m.H3D_Matrix3;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) s[i][j] = 0.0;
    s[1][1] = job.Params[kScaleX];
    s[2][2] = job.Params[kScaleY];
    s[3][3] = job.Params[kScaleZ];
}

void transformMcsPoint(const JobState& job, std::int32_t i, H3DMatrices& m) {
    checkPointIndex(job, i);
    const WorkMatrix q = multiplyWork(multiplyWork(m.H3D_Matrix1, m.H3D_Matrix2), m.H3D_Matrix3);
    const double x[4] = {0.0, job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[static_cast<std::size_t>(i)]};
    double p[4];
    multiplyVector(q, x, p);
    for (int r = 1; r <= 3; ++r) m.H3D_Matrix4[r][1] = p[r];
}

PointTransform::PointTransform(const JobState& job) {
    H3DMatrices m;
    buildRotationMatrix(job, m);
    buildShapeMatrix(job, m);
    buildScaleMatrix(job, m);
    q_ = multiplyWork(multiplyWork(m.H3D_Matrix1, m.H3D_Matrix2), m.H3D_Matrix3);
    t_[1] = job.Params[kTraX];
    t_[2] = job.Params[kTraY];
    t_[3] = job.Params[kTraZ];
}

void PointTransform::apply(double x, double y, double z, double& xo, double& yo, double& zo) const {
    const double v[4] = {0.0, x, y, z};
    double p[4];
    multiplyVector(q_, v, p);
    xo = checkedFinite(p[1] + t_[1], "TransformPoint");
    yo = checkedFinite(p[2] + t_[2], "TransformPoint");
    zo = checkedFinite(p[3] + t_[3], "TransformPoint");
}

void transformPoint(const JobState& job, double x, double y, double z, double& xo, double& yo, double& zo) {
    PointTransform(job).apply(x, y, z, xo, yo, zo);
}

}  // namespace kal
