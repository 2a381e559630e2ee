#pragma once
// The ROCAL *.bas file: the homogeneous 4 × 4 matrix [R T; 0 0 0 1] of the current rotation and
// translation in bracket notation, one matrix row per line, values separated by ",", rows ended by
// ";", the last row "0,0,0,1]" without a line end. Numbers in the general form with "." always
// (the field separator is ","), never "-0"; the translation in the display length unit. Scale and
// shape are not part of the file.
#include <string>

#include "details/ExportServices.h"
#include "shared/JobState.h"
#include "shared/Matrix.h"

namespace kal {

// N(x): the general text of x with ".": 1 gives "1", 0.00009 gives "9E-05".
std::string rocalNumber(double x);

// The four lines; R is the matrix of matFromAnglesXYZ (elements 1..3), T in display units.
std::string rocalFileBytes(const Matrix& R, double traX, double traY, double traZ);

// The whole export (MenueFileExportROCAL_Click).
ExportOutcome exportRocal(JobState& job, const ExportServices& services);

}  // namespace kal
