#include "details/RobCadExport.h"

#include <algorithm>
#include <array>

#include "details/DetailsFigures.h"
#include "input/PointLoad.h"
#include "shared/FileHelpers.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "shared/TextEncoding.h"

namespace kal {

namespace {

constexpr std::array<const char*, 23> kTrailer{
    "ATT / _PALETTE_LENGTH , 0;    ",
    "ATT / _PALETTE_LENGTH , 0;    ",
    "ATT / _PALETTE_AMBIENT , 0.0;    ",
    "ATT / _PALETTE_DIFFUSE , 0.0;    ",
    "ATT / _PALETTE_SPECULAR , 0.0;  ",
    "ATT / _PALETTE_EMISSION , 0.0;   ",
    "ATT / _PALETTE_SHININESS , 0.0;   ",
    "ATT / _PALETTE_TEXTURE_HEIGHT , 0;    ",
    "ATT / _PALETTE_TEXTURE_WIDTH , 0;    ",
    "ATT / _PALETTE_S_PLANE , 0.0;    ",
    "ATT / _PALETTE_T_PLANE , 0.0;    ",
    "ATT / _PALETTE_LENGTH , 0;    ",
    "ATT / _PALETTE_MATERIAL_IN_USE , 0;    ",
    "ATT / _PALETTE_AMBIENT , 0.0;    ",
    "ATT / _PALETTE_DIFFUSE , 0.0;    ",
    "ATT / _PALETTE_SPECULAR , 0.0;    ",
    "ATT / _PALETTE_EMISSION , 0.0;    ",
    "ATT / _PALETTE_SHININESS , 0.0;    ",
    "ATT / _PALETTE_TEXTURE_HEIGHT , 0;    ",
    "ATT / _PALETTE_TEXTURE_WIDTH , 0;    ",
    "ATT / _PALETTE_S_PLANE , 0.0;    ",
    "ATT / _PALETTE_T_PLANE , 0.0;    ",
    "END;        ",
};

// A line break inside a name would split a line of the file.
std::string withoutLineBreaks(std::string s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }), s.end());
    return s;
}

std::string ask(platform::Prompter* prompter, const char* prompt, const std::string& defaultText) {
    if (!prompter) return std::string();
    return withoutLineBreaks(prompter->input(prompt, {}, defaultText).value_or(std::string()));
}

}  // namespace

std::string robCadNumber(double x) { return formatNumber(x, "0.0000E+00", '.'); }

RobCadFile robCadFileBytes(const RobCadValues& v) {
    const std::string T = withoutLineBreaks(v.toolName), P = withoutLineBreaks(v.place),
                      R = withoutLineBreaks(v.robotName);
    const std::string names = T + "_" + P + "_" + R;
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\r\n"; };
    line("HEADER/ 00 , 00 , 00 , ROBFACEOUT ;");
    line("COMPONENT / " + names + " ;     ");
    line(T + " =FRA / 0.0e-05 , 0.0e-05 , 0.0e-05 ,");
    line("0.0e-05 , 0.0e-05 , 0.0e-05 ;   ");
    line(R + "_calpos =FRA / " + robCadNumber(v.translation[0]) + " , " + robCadNumber(v.translation[1]) +
         " , " + robCadNumber(v.translation[2]) + " ,");
    line(robCadNumber(v.angles[0]) + " , " + robCadNumber(v.angles[1]) + " , " + robCadNumber(v.angles[2]) +
         " ;");
    line("END / " + names + " ;     ");
    for (const char* s : kTrailer) line(s);
    RobCadFile file;
    file.bytes = utf8ToWindows1252(text, &file.lossy);
    return file;
}

std::string robCadFileName(const std::string& chosen) {
    if (chosen.size() >= 2 && chosen.compare(chosen.size() - 2, 2, "rf") == 0) return chosen;
    return chosen + ".rf";
}

ExportOutcome exportRobCad(JobState& job, const ExportServices& s) {
    platform::Prompter* prompter = s.prompter;
    auto tell = [prompter](const std::string& text) {
        if (prompter) prompter->message(text);
    };
    if (!job.TrafoCalculated) {
        tell("You must make a calculation to export a *.rf File");
        return ExportOutcome::Refused;
    }
    tell("Angle and Distance Output will always be made in Unit witch is set in Menu - Settings - Units");

    if (!s.fileDialogs) return ExportOutcome::Cancelled;
    const std::optional<std::string> chosen =
        s.fileDialogs->saveFile("Export RobCad *.rf File", "RobCad Robface (*.rf)", job.LastRobCadRoot, {});
    if (!chosen || chosen->empty() || *chosen == "*.*") return ExportOutcome::Cancelled;
    const std::string name = robCadFileName(*chosen);
    // The dialog asked about the name as typed; the name written may be another existing file.
    if (name != *chosen && isRegularFile(name) && !askReplaceExisting(name, prompter))
        return ExportOutcome::Cancelled;

    job.LastRobCadRoot = pathFolder(name, prompter);
    if (s.writeSetting) s.writeSetting("Roots", "LastRobCadRoot", job.LastRobCadRoot);

    job.Place = ask(prompter, "Place of Measurement [exmpl. Wob]", job.Place);
    job.ToolName = ask(prompter, "Name of Tool / Fixture [exmpl. afo910]", job.ToolName);
    RobCadValues values;
    values.robotName = ask(prompter, "Name of Roboter [exmpl. r2a]", {});
    if (s.writeSetting) {
        s.writeSetting("RobCad", "Place", job.Place);
        s.writeSetting("RobCad", "ToolName", job.ToolName);
    }
    values.place = job.Place;
    values.toolName = job.ToolName;

    // The angles the details window's fill leaves for this export, computed here before anything
    // is written so that the file is made in one go; the export ends with that window closed.
    Matrix R(3, 3);
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), R);
    const Vec3 angles = robCadAnglesOf(R);
    if (s.closeDetails) s.closeDetails();
    values.translation[0] = job.TraX() * job.LengthFactor;
    values.translation[1] = job.TraY() * job.LengthFactor;
    values.translation[2] = job.TraZ() * job.LengthFactor;
    for (int i = 0; i < 3; ++i) values.angles[i] = angles[static_cast<std::size_t>(i + 1)] * job.AngleFactor;

    const RobCadFile file = robCadFileBytes(values);
    if (!writeExportFile(name, file.bytes, prompter)) return ExportOutcome::Failed;
    if (file.lossy)
        tell(
            "Some characters of the names have no place in the Windows-1252 code page of the file; they were "
            "written as \"?\".");
    if (s.openFile) s.openFile(name);
    return ExportOutcome::Written;
}

}  // namespace kal
