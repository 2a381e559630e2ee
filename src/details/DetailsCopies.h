#pragma once
// The clipboard texts of the details window's tables: cells separated by Tab, lines ended by
// CR LF. The matrix, angle and quaternion copies carry full precision (general text, or signed
// text for the sequence angles), not the display patterns; the Monte Carlo and inverse copies take
// the texts the grids show. Neither form ever writes "-0".
//
// DetailsCopier is the window's copy model: each command builds its text (DetailsClipText) and puts
// it on the clipboard, except while "clip all" runs, which collects eight tables and puts them on
// the clipboard once. The "clip all" flag is cleared however "clip all" ends, so a copy after a
// failed "clip all" still reaches the clipboard.
#include <string>

#include "details/DetailsFigures.h"
#include "platform/Clipboard.h"
#include "shared/JobState.h"

namespace kal {

// Rotation or affine matrix: per row three general texts each followed by Tab, CR LF; then an
// empty line.
std::string matrixCopyText(const Matrix& M);
// Scale matrix: the axis scales on the diagonal, "0" elsewhere, laid out as matrixCopyText.
std::string scaleMatrixCopyText(double scaleX, double scaleY, double scaleZ);
// Header line, three angle lines (caption, Tab, signed text of solution 1, Tab, of solution 2),
// an empty line. Recomputes both solutions from R into s1 and s2. Angles × angleFactor.
std::string sequenceCopyText(AngleSequence sequence, const Matrix& R, double angleFactor, Vec3& s1, Vec3& s2);
// [R T; 0 0 0 1] with T in display units (mm × lengthFactor), then an empty line.
std::string homogeneousCopyText(const Matrix& R, double traX, double traY, double traZ, double lengthFactor);
// Eleven lines: quaternion, rotation angle, axis, x-y'-z'' angles; no empty line at the end.
std::string quaternionCopyText(const Matrix& R, double angleFactor);
// Rows 0..18 of the Monte Carlo grid: cell 0, Tab, cell 1, CR LF.
std::string monteCarloCopyText(const TextTable& grid);
// Every cell of the inverse grid followed by Tab, CR LF per row; then an empty line.
std::string inverseCopyText(const TextTable& grid);

class DetailsCopier {
  public:
    DetailsCopier(DetailsFigures& figures, const JobState& job, platform::Clipboard& clipboard)
        : figures_(figures), job_(job), clipboard_(clipboard) {}

    // Each returns the text it built (BtnClipR_Click .. BtnClipMonteCarlo_Click).
    const std::string& copyRotation();
    const std::string& copySequence(AngleSequence sequence);
    const std::string& copyHomogeneous();
    const std::string& copyAffine();
    const std::string& copyScale();
    const std::string& copyInverse();
    const std::string& copyQuaternion();
    const std::string& copyMonteCarlo();
    // Rotation, XYZ, ZYX, ZXY, ZXZ, homogeneous, quaternion, the Monte Carlo caption line and the
    // Monte Carlo table in one text (BtnClipALL_Click).
    std::string copyAll();

    bool clipAllActive() const { return clipAllActive_; }
    const std::string& lastText() const { return text_; }

  private:
    const std::string& publish(std::string text);

    DetailsFigures& figures_;
    const JobState& job_;
    platform::Clipboard& clipboard_;
    std::string text_;  // DetailsClipText
    bool clipAllActive_ = false;
};

}  // namespace kal
