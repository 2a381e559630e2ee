#include "details/DetailsCopies.h"

#include "details/SequenceSolutions.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"

namespace kal {

namespace {
constexpr const char* kLineEnd = "\r\n";

std::string diagonalCopy(const double (&d)[3], const Matrix* full) {
    std::string s;
    for (int a = 1; a <= 3; ++a) {
        for (int i = 1; i <= 3; ++i) {
            if (full)
                s += generalText((*full)(a, i));
            else
                s += (i == a) ? generalText(d[a - 1]) : std::string("0");
            s += '\t';
        }
        s += kLineEnd;
    }
    s += kLineEnd;
    return s;
}
}  // namespace

std::string matrixCopyText(const Matrix& M) {
    const double unused[3] = {0, 0, 0};
    return diagonalCopy(unused, &M);
}

std::string scaleMatrixCopyText(double scaleX, double scaleY, double scaleZ) {
    const double d[3] = {scaleX, scaleY, scaleZ};
    return diagonalCopy(d, nullptr);
}

std::string sequenceCopyText(AngleSequence sequence, const Matrix& R, double angleFactor, Vec3& s1,
                             Vec3& s2) {
    const AngleSequenceInfo& info = angleSequenceInfo(sequence);
    solveSequence(sequence, R, s1, s2);
    std::string s = std::string(" \tSolution 1\tSolution 2") + kLineEnd;
    for (std::size_t line = 0; line < 3; ++line) {
        const auto e = static_cast<std::size_t>(info.elements[line]);
        s += std::string(info.copyCaptions[line]) + '\t' + signedText(angleFactor * s1[e]) + '\t' +
             signedText(angleFactor * s2[e]) + kLineEnd;
    }
    s += kLineEnd;
    return s;
}

std::string homogeneousCopyText(const Matrix& R, double traX, double traY, double traZ, double lengthFactor) {
    const double t[3] = {traX, traY, traZ};
    std::string s;
    for (int a = 1; a <= 3; ++a) {
        for (int i = 1; i <= 3; ++i) s += generalText(R(a, i)) + '\t';
        s += generalText(t[a - 1] * lengthFactor) + kLineEnd;
    }
    s += std::string("0\t0\t0\t1") + kLineEnd + kLineEnd;
    return s;
}

std::string quaternionCopyText(const Matrix& R, double angleFactor) {
    Matrix Q(8, 1);
    double ax = 0, ay = 0, az = 0;
    quaternionFromMat(R, Q, ax, ay, az);
    const std::pair<const char*, double> lines[] = {
        {"qw", Q(1, 1)},
        {"qx", Q(2, 1)},
        {"qy", Q(3, 1)},
        {"qz", Q(4, 1)},
        {"Angel of Rot", angleFactor * Q(5, 1)},
        {"Vec x of Rot", Q(6, 1)},
        {"Vec y of Rot", Q(7, 1)},
        {"Vec z of Rot", Q(8, 1)},
        {"Rot x", angleFactor * ax},
        {"Rot y'", angleFactor * ay},
        {"Rot z''", angleFactor * az},
    };
    std::string s;
    for (const auto& [caption, value] : lines)
        s += std::string(caption) + '\t' + generalText(value) + kLineEnd;
    return s;
}

std::string monteCarloCopyText(const TextTable& grid) {
    std::string s;
    for (std::int32_t r = 0; r <= 18; ++r) {
        const bool inside = r < grid.rowCount();
        if (inside && grid.columnCount() > 0) s += grid.cell(r, 0);
        s += '\t';
        if (inside && grid.columnCount() > 1) s += grid.cell(r, 1);
        s += kLineEnd;
    }
    return s;
}

std::string inverseCopyText(const TextTable& grid) {
    std::string s;
    for (std::int32_t r = 0; r < grid.rowCount(); ++r) {
        for (std::int32_t c = 0; c < grid.columnCount(); ++c) s += grid.cell(r, c) + '\t';
        s += kLineEnd;
    }
    s += kLineEnd;
    return s;
}

const std::string& DetailsCopier::publish(std::string text) {
    text_ = std::move(text);
    if (!clipAllActive_) {
        clipboard_.clear();
        clipboard_.setText(text_);
    }
    return text_;
}

const std::string& DetailsCopier::copyRotation() { return publish(matrixCopyText(figures_.rotation)); }

const std::string& DetailsCopier::copySequence(AngleSequence sequence) {
    return publish(sequenceCopyText(sequence, figures_.rotation, job_.AngleFactor, figures_.solution1,
                                    figures_.solution2));
}

const std::string& DetailsCopier::copyHomogeneous() {
    return publish(homogeneousCopyText(figures_.rotation, job_.Params[kTraX], job_.Params[kTraY],
                                       job_.Params[kTraZ], job_.LengthFactor));
}

const std::string& DetailsCopier::copyAffine() { return publish(matrixCopyText(figures_.affine)); }

const std::string& DetailsCopier::copyScale() {
    return publish(scaleMatrixCopyText(job_.Params[kScaleX], job_.Params[kScaleY], job_.Params[kScaleZ]));
}

const std::string& DetailsCopier::copyInverse() { return publish(inverseCopyText(figures_.inverseGrid)); }

const std::string& DetailsCopier::copyQuaternion() {
    return publish(quaternionCopyText(figures_.rotation, job_.AngleFactor));
}

const std::string& DetailsCopier::copyMonteCarlo() {
    return publish(monteCarloCopyText(figures_.monteCarloGrid));
}

std::string DetailsCopier::copyAll() {
    // Cleared however the copy ends: a flag left set would keep every later copy off the clipboard.
    struct ClipAllScope {
        bool& flag;
        explicit ClipAllScope(bool& f) : flag(f) { flag = true; }
        ~ClipAllScope() { flag = false; }
    } scope(clipAllActive_);
    std::string all;
    all += copyRotation();
    all += copySequence(AngleSequence::XYZ);
    all += copySequence(AngleSequence::ZYX);
    all += copySequence(AngleSequence::ZXY);
    all += copySequence(AngleSequence::ZXZ);
    all += copyHomogeneous();
    all += copyQuaternion();
    all += std::string(kLineEnd) + "last MonteCarlo - sigma of parameter" + kLineEnd;
    all += copyMonteCarlo();
    clipboard_.clear();
    clipboard_.setText(all);
    return all;
}

}  // namespace kal
