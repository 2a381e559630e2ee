#include "details/DetailsFigures.h"

#include <cmath>
#include <string>

#include "calculation/ParameterRows.h"
#include "details/SequenceSolutions.h"
#include "engine/InverseTrafo.h"
#include "engine/TransformModel.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "shared/Statistics.h"
#include "shared/Units.h"

namespace kal {

namespace {

struct Texts {
    const JobState& job;
    std::string angle(double radians) const {
        return formatAngle(radians, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
    }
    std::string length(double mm) const { return formatNumber(mm * job.LengthFactor, job.LengthFormat); }
    std::string matrix(double v) const { return formatNumber(v, job.MatrixFormat); }
    std::string scale(double v) const { return formatNumber(v, job.ScaleFormat); }
};

bool estimated(const JobState& job, int slot) {
    return job.ParamState[static_cast<std::size_t>(slot)] == kFloat;
}

void fillInverse(JobState& job, DetailsFigures& f) {
    try {
        if (!solveInverseTransform(job)) job.InverseSolutionTable = Matrix();
    } catch (const NumericError&) {
        job.InverseSolutionTable = Matrix();  // a zero scale or a degenerate shape: no inverse exists
    }
    f.inverseGrid = inverseGridOf(job);
    f.inverseFound = job.InverseSolutionTable.rows() > 0;
}

void fillQuaternion(const Texts& t, DetailsFigures& f) {
    Matrix Q(8, 1);
    double ax = 0, ay = 0, az = 0;
    quaternionFromMat(f.rotation, Q, ax, ay, az);
    static constexpr std::array<const char*, 11> captions{
        "qw",        "qx",        "qy",    "qz",     "Angel of Rot", "RotVec .x ",
        "RotVec .y", "RotVec .z", "Rot x", "Rot y'", "Rot z''"};
    TextTable& g = f.quaternionGrid;
    for (int r = 0; r < 11; ++r) g.setText(r, 0, captions[static_cast<std::size_t>(r)]);
    for (int r = 0; r < 4; ++r) g.setText(r, 1, t.matrix(Q(r + 1, 1)));
    g.setText(4, 1, t.angle(Q(5, 1)));
    for (int r = 5; r < 8; ++r) g.setText(r, 1, t.matrix(Q(r + 1, 1)));
    g.setText(8, 1, t.angle(ax));
    g.setText(9, 1, t.angle(ay));
    g.setText(10, 1, t.angle(az));
}

enum class SigmaKind { Length, Angle, Scale };

void fillMonteCarlo(const JobState& job, const Texts& t, DetailsFigures& f) {
    if (!job.McCompleted) return;
    struct Row {
        int row;
        const char* caption;
        std::size_t list;  // index into McRuns (slot, or 18 for the sigma of xyz)
        SigmaKind kind;
        bool marked;
    };
    const bool abc = job.UseAbcMode;
    const Row rows[] = {
        {0, "Tra x", kTraX, SigmaKind::Length, estimated(job, kTraX)},
        {1, "Tra y", kTraY, SigmaKind::Length, estimated(job, kTraY)},
        {2, "Tra z", kTraZ, SigmaKind::Length, estimated(job, kTraZ)},
        {3, "Rot x", kRotX, SigmaKind::Angle, estimated(job, kRotX)},
        {4, "Rot y", kRotY, SigmaKind::Angle, estimated(job, kRotY)},
        {5, "Rot z", kRotZ, SigmaKind::Angle, estimated(job, kRotZ)},
        {6, "Scale x", kScaleX, SigmaKind::Scale, estimated(job, kScaleX)},
        {7, "Scale y", kScaleY, SigmaKind::Scale, estimated(job, kScaleY)},
        {8, "Scale z", kScaleZ, SigmaKind::Scale, estimated(job, kScaleZ)},
        {9, "Scale xyz", kScaleXYZ, SigmaKind::Scale, estimated(job, kScaleXYZ)},
        {10, "XY", kParXY, SigmaKind::Angle, estimated(job, kParXY)},
        {11, "Azimuth", kAzimuth, SigmaKind::Angle, estimated(job, kAzimuth)},
        {12, "ZtoXY", kZtoXY, SigmaKind::Angle, estimated(job, kZtoXY)},
        {13, "R_Dist", kRDist, SigmaKind::Length, !abc && estimated(job, kRDist)},
        {14, "vec_x", kRvecX, SigmaKind::Length, abc},
        {15, "vec_y", kRvecY, SigmaKind::Length, abc},
        {16, "vec_z", kRvecZ, SigmaKind::Length, abc},
        {18, "s of sigmaXYZ", kParamCount + 1, SigmaKind::Length, estimated(job, kTraX)},
    };
    TextTable& g = f.monteCarloGrid;
    for (const Row& r : rows) {
        g.setText(r.row, 0, r.caption);
        g.setBold(r.row, 0, r.marked);
        // The runs actually stored count, whatever the run count in the options says now; fewer
        // than two runs have no standard deviation and leave the cell empty.
        const std::vector<double>& runs = job.McRuns[r.list];
        if (runs.size() < 3) continue;
        // Runs that a surface of revolution left free to turn about its axis scatter without
        // meaning: no sigma, as in the calculation window.
        if (r.list <= kParamCount && job.McOpenBySurface[r.list]) continue;
        const double sigma = standardDeviation(runs);
        if (!std::isfinite(sigma)) continue;
        switch (r.kind) {
            case SigmaKind::Length:
                g.setText(r.row, 1, t.length(sigma));
                break;
            case SigmaKind::Angle:
                g.setText(r.row, 1, t.angle(sigma));
                break;
            case SigmaKind::Scale:
                g.setText(r.row, 1, t.scale(sigma));
                break;
        }
    }
}

}  // namespace

TextTable inverseGridOf(const JobState& job) {
    const Texts t{job};
    const Matrix& table = job.InverseSolutionTable;
    const std::int32_t n = table.rows();
    if (n <= 0) {
        TextTable g(2, 2, 1, 1);
        g.setText(1, 1, kNoSolutionText);
        return g;
    }
    static constexpr std::array<const char*, 13> captions{
        "",        "tra x",   "tra y",   "tra z", "rot x",     "rot y'", "rot z''",
        "scale x", "scale y", "scale z", "xy",    "Azimuth z", "z to xy"};
    TextTable g(13, n + 1, 1, 1);
    for (int r = 1; r <= 12; ++r) g.setText(r, 0, captions[static_cast<std::size_t>(r)]);
    for (std::int32_t k = 1; k <= n; ++k) {
        g.setText(0, k, "Solution " + std::to_string(k));
        g.setText(1, k, t.length(job.InvTraX));
        g.setText(2, k, t.length(job.InvTraY));
        g.setText(3, k, t.length(job.InvTraZ));
        for (int c = 1; c <= 3; ++c) g.setText(3 + c, k, t.angle(table(k, c)));
        for (int c = 4; c <= 6; ++c) g.setText(3 + c, k, t.scale(table(k, c)));
        for (int c = 7; c <= 9; ++c) g.setText(3 + c, k, t.angle(table(k, c)));
    }
    return g;
}

DetailsFigures emptyDetails() {
    DetailsFigures f;
    f.rotationGrid = TextTable(3, 3);
    for (auto& g : f.sequenceGrids) g = TextTable(4, 3, 1, 1);
    f.homogeneousGrid = TextTable(4, 4);
    f.affineGrid = TextTable(3, 3);
    f.scaleGrid = TextTable(3, 3);
    f.inverseGrid = TextTable(1, 1, 1, 1);
    f.quaternionGrid = TextTable(11, 2, 0, 1);
    f.monteCarloGrid = TextTable(19, 2, 0, 1);
    return f;
}

Vec3 robCadAnglesOf(const Matrix& rotation) {
    Vec3 s1{}, s2{};
    solveSequence(AngleSequence::ZXY, rotation, s1, s2);
    const double sum1 = std::abs(s1[1]) + std::abs(s1[2]) + std::abs(s1[3]);
    const double sum2 = std::abs(s2[1]) + std::abs(s2[2]) + std::abs(s2[3]);
    const Vec3& chosen = sum2 > sum1 ? s1 : s2;
    return Vec3{0.0, -chosen[1], -chosen[2], -chosen[3]};
}

DetailsFigures computeDetails(JobState& job) {
    DetailsFigures f = emptyDetails();
    const Texts t{job};

    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), f.rotation);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) f.rotationGrid.setText(r, c, t.matrix(f.rotation(r + 1, c + 1)));

    for (AngleSequence s : kAngleSequences) {
        const AngleSequenceInfo& info = angleSequenceInfo(s);
        TextTable& g = f.sequenceGrids[static_cast<std::size_t>(s)];
        g.setText(0, 1, "Solution 1");
        g.setText(0, 2, "Solution 2");
        solveSequence(s, f.rotation, f.solution1, f.solution2);
        for (int r = 1; r <= 3; ++r) {
            const auto e = static_cast<std::size_t>(info.elements[static_cast<std::size_t>(r - 1)]);
            g.setText(r, 0, std::string(info.gridCaptions[static_cast<std::size_t>(r - 1)]));
            g.setText(r, 1, t.angle(f.solution1[e]));
            g.setText(r, 2, t.angle(f.solution2[e]));
        }
    }
    f.robCadAngles = robCadAnglesOf(f.rotation);

    const double translation[3] = {job.TraX(), job.TraY(), job.TraZ()};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) f.homogeneousGrid.setText(r, c, t.matrix(f.rotation(r + 1, c + 1)));
        f.homogeneousGrid.setText(r, 3, t.length(translation[r]));
    }
    for (int c = 0; c < 4; ++c) f.homogeneousGrid.setText(3, c, c == 3 ? "1" : "0");

    shapeMatrixFromAngles(job.ParXY(), job.Azimuth(), job.ZtoXY(), f.affine);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) f.affineGrid.setText(r, c, t.matrix(f.affine(r + 1, c + 1)));

    const double scales[3] = {job.ScaleX(), job.ScaleY(), job.ScaleZ()};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) f.scaleGrid.setText(r, c, t.matrix(r == c ? scales[r] : 0.0));

    fillInverse(job, f);
    fillQuaternion(t, f);
    fillMonteCarlo(job, t, f);
    return f;
}

}  // namespace kal
