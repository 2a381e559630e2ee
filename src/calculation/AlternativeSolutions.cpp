#include "calculation/AlternativeSolutions.h"

#include <cmath>
#include <exception>

#include "calculation/ParameterRows.h"
#include "engine/InverseTrafo.h"
#include "engine/TransformModel.h"
#include "shared/MatrixOps.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "shared/Units.h"

namespace kal {

namespace {

std::string angleText(const JobState& job, double radians) {
    return formatAngle(radians, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
}

std::array<std::string, 3> texts(const JobState& job, const Vec3& v) {
    return {angleText(job, v[1]), angleText(job, v[2]), angleText(job, v[3])};
}

}  // namespace

double angleBoxValue(const std::string& text) {
    try {
        return leadingOwnNumber(dmsToDecimalText(text));
    } catch (const std::exception&) {
        return 0;
    }
}

std::array<std::string, 3> otherRotationTexts(JobState& job, const std::string& rotXText) {
    Matrix M(3, 3);
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), M);
    Vec3 s1{}, s2{};
    anglesFromMatXYZ(M, s1, s2);
    const double v = angleBoxValue(rotXText);
    return std::fabs(v - job.AngleFactor * s1[1]) < 1 ? texts(job, s2) : texts(job, s1);
}

std::array<std::string, 3> otherShapeTexts(JobState& job, const std::string& azimuthText) {
    Matrix K(3, 3);
    shapeMatrixFromAngles(job.ParXY(), job.Azimuth(), job.ZtoXY(), K);
    Vec3 t1{}, t2{};
    shapeAnglesFromMatrix(K, t1, t2);
    const double v = angleBoxValue(azimuthText);
    return std::fabs(v - job.AngleFactor * t2[2]) < 1 ? texts(job, t1) : texts(job, t2);
}

std::optional<AlternativeSplit> alternativeSplit(JobState& job,
                                                 const std::array<std::string, 3>& rotationTexts,
                                                 bool* noSolution) {
    if (noSolution) *noSolution = false;
    Matrix R(3, 3), K(3, 3), M;
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), R);
    shapeMatrixFromAngles(job.ParXY(), job.Azimuth(), job.ZtoXY(), K);
    std::int32_t rows = 0, cols = 0;
    M.resize(3, 3);
    matMult(R, 3, 3, K, 3, 3, M, rows, cols);
    const bool shapeFlag = job.ParXY() != 0 || job.Azimuth() != 0 || job.ZtoXY() != 0;
    const bool scaleFlag =
        !(job.ScaleX() == 1.0 && job.ScaleY() == 1.0 && job.ScaleZ() == 1.0 && job.ScaleXYZ() == 1.0);
    Matrix table;
    if (!enumerateInverseSolutions(M, shapeFlag, scaleFlag, table)) {
        if (noSolution) *noSolution = true;
        return std::nullopt;
    }
    const double boxes[3] = {angleBoxValue(rotationTexts[0]), angleBoxValue(rotationTexts[1]),
                             angleBoxValue(rotationTexts[2])};
    std::int32_t match = 0;
    for (std::int32_t k = 1; k <= table.rows() && match == 0; ++k) {
        bool same = true;
        for (int c = 0; c < 3; ++c)
            same = same && std::fabs(table(k, c + 1) * job.AngleFactor - boxes[c]) < 0.001;
        if (same) match = k;
    }
    // Only these rows have a known partner: the split with the other sign of the shape.
    std::int32_t partner = 0;
    switch (match) {
        case 1:
            partner = 5;
            break;
        case 3:
            partner = 7;
            break;
        case 5:
            partner = 1;
            break;
        case 7:
            partner = 3;
            break;
        default:
            return std::nullopt;
    }
    if (partner > table.rows()) return std::nullopt;
    AlternativeSplit split;
    split.rotation = {table(partner, 1), table(partner, 2), table(partner, 3)};
    split.shape = {table(partner, 7), table(partner, 8), table(partner, 9)};
    return split;
}

bool alternativeSplitEnabled(const ParameterPanel& panel) {
    for (int slot : {kZtoXY, kAzimuth, kParXY}) {
        const ParameterRow& r = panel.row(slot);
        if (r.estimate) return true;
        if (r.valueText != kNotUsed && angleBoxValue(r.valueText) != 0) return true;
    }
    return false;
}

}  // namespace kal
