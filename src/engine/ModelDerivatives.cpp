#include "engine/ModelDerivatives.h"

#include <cmath>

namespace kal {

namespace {

struct RotTrig {
    double sa, ca, sb, cb, sc, cc;
    explicit RotTrig(const JobState& job)
        : sa(std::sin(job.RotXSeed)),
          ca(std::cos(job.RotXSeed)),
          sb(std::sin(job.RotYSeed)),
          cb(std::cos(job.RotYSeed)),
          sc(std::sin(job.RotZSeed)),
          cc(std::cos(job.RotZSeed)) {}
};

void zeroUsed(WorkMatrix& w) {
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) w[i][j] = 0.0;
}

}  // namespace

void derivativeRotX(const JobState& job, H3DMatrices& m) {
    const RotTrig t(job);
    WorkMatrix& d = m.H3D_Matrix1;
    d[1][1] = 0.0;
    d[1][2] = -t.sa * t.sc + t.ca * t.sb * t.cc;
    d[1][3] = t.ca * t.sc + t.sa * t.sb * t.cc;
    d[2][1] = 0.0;
    d[2][2] = -t.sa * t.cc - t.ca * t.sb * t.sc;
    d[2][3] = t.ca * t.cc - t.sa * t.sb * t.sc;
    d[3][1] = 0.0;
    d[3][2] = -t.ca * t.cb;
    d[3][3] = -t.sa * t.cb;
}

void derivativeRotY(const JobState& job, H3DMatrices& m) {
    const RotTrig t(job);
    WorkMatrix& d = m.H3D_Matrix1;
    d[1][1] = -t.sb * t.cc;
    d[1][2] = t.sa * t.cb * t.cc;
    d[1][3] = -t.ca * t.cb * t.cc;
    d[2][1] = t.sb * t.sc;
    d[2][2] = -t.sa * t.cb * t.sc;
    d[2][3] = t.ca * t.cb * t.sc;
    d[3][1] = t.cb;
    d[3][2] = t.sa * t.sb;
    d[3][3] = -t.ca * t.sb;
}

void derivativeRotZ(const JobState& job, H3DMatrices& m) {
    const RotTrig t(job);
    WorkMatrix& d = m.H3D_Matrix1;
    d[1][1] = -t.cb * t.sc;
    d[1][2] = t.ca * t.cc - t.sa * t.sb * t.sc;
    d[1][3] = t.sa * t.cc + t.ca * t.sb * t.sc;
    d[2][1] = -t.cb * t.cc;
    d[2][2] = -t.ca * t.sc - t.sa * t.sb * t.cc;
    d[2][3] = -t.sa * t.sc + t.ca * t.sb * t.cc;
    d[3][1] = 0.0;
    d[3][2] = 0.0;
    d[3][3] = 0.0;
}

void derivativeShapeXY(const JobState& job, H3DMatrices& m) {
    WorkMatrix& d = m.H3D_Matrix2;
    zeroUsed(d);
    d[1][2] = std::cos(job.Params[kParXY]);
    d[2][2] = -std::sin(job.Params[kParXY]);
}

void derivativeShapeAzimuth(const JobState& job, H3DMatrices& m) {
    WorkMatrix& d = m.H3D_Matrix2;
    zeroUsed(d);
    const double zt = job.Params[kZtoXY], az = job.Params[kAzimuth];
    d[1][3] = -std::sin(zt) * std::sin(az);
    d[2][3] = std::sin(zt) * std::cos(az);
}

void derivativeShapeZtoXY(const JobState& job, H3DMatrices& m) {
    WorkMatrix& d = m.H3D_Matrix2;
    zeroUsed(d);
    const double zt = job.Params[kZtoXY], az = job.Params[kAzimuth];
    d[1][3] = std::cos(zt) * std::cos(az);
    d[2][3] = std::cos(zt) * std::sin(az);
    d[3][3] = -std::sin(zt);
}

}  // namespace kal
