#pragma once
// The RobCad Robface frame file (*.rf): one component with a tool frame at the origin and the
// calibrated position frame of a robot, whose translation and z-x'-y'' angles come from the
// current transformation, then a fixed block of palette attributes. Numbers are written with the
// pattern "0.0000E+00" and always a "." (the file is read by another program); lengths and angles
// in the display units. The text is Windows-1252; a name character outside it becomes "?".
#include <string>

#include "details/ExportServices.h"
#include "shared/JobState.h"

namespace kal {

struct RobCadValues {
    std::string toolName, place, robotName;  // UTF-8; CR and LF are dropped when written
    double translation[3] = {0, 0, 0};       // display length unit
    double angles[3] = {0, 0, 0};            // display angle unit: RobCadAngle1..3 × AngleFactor
};

struct RobCadFile {
    std::string bytes;
    bool lossy = false;  // some name character was written as "?"
};

// F(x): "0.0000E+00" with "." whatever the user's separator; -0 is "0.0000E+00", and a mantissa
// that rounds up carries into the exponent (9.99996 gives "1.0000E+01").
std::string robCadNumber(double x);

// The 30 lines, each ended by CR LF.
RobCadFile robCadFileBytes(const RobCadValues& values);

// The name the file is written under: the chosen name unless its last two characters are "rf"
// (compared case-sensitively), else the chosen name followed by ".rf" ("cell.RF" gives "cell.RF.rf").
std::string robCadFileName(const std::string& chosen);

// The whole export (MenueFileExportRobCad_Click): messages, the save dialog, the three name
// prompts, the settings, the file, and the request to open it.
ExportOutcome exportRobCad(JobState& job, const ExportServices& services);

}  // namespace kal
