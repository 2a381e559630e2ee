#include "details/RocalExport.h"

#include "input/PointLoad.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"

namespace kal {

std::string rocalNumber(double x) { return generalText(x, '.'); }

std::string rocalFileBytes(const Matrix& R, double traX, double traY, double traZ) {
    const double t[3] = {traX, traY, traZ};
    std::string s = "[";
    for (int a = 1; a <= 3; ++a) {
        for (int i = 1; i <= 3; ++i) s += rocalNumber(R(a, i)) + ",";
        s += rocalNumber(t[a - 1]) + ";\r\n";
    }
    s += "0,0,0,1]";
    return s;
}

ExportOutcome exportRocal(JobState& job, const ExportServices& s) {
    platform::Prompter* prompter = s.prompter;
    if (!job.TrafoCalculated) {
        if (prompter) prompter->message("You must make a calculation to export a *.bas File");
        return ExportOutcome::Refused;
    }
    if (!s.fileDialogs) return ExportOutcome::Cancelled;
    // Beside the job file with the job's name when the job has one; else in the last export's folder.
    std::string start = job.LastRocalRoot;
    const std::string& jobFile = job.CurrentJobFile;
    if (!jobFile.empty() && jobFile != kUntitledJobName && jobFile.size() > 4)
        start = jobFile.substr(0, jobFile.size() - 4) + ".bas";
    const std::optional<std::string> chosen =
        s.fileDialogs->saveFile("Export Rocal *.bas File", "Rocal (*.bas)", start, {});
    if (!chosen || chosen->empty() || *chosen == "*.*") return ExportOutcome::Cancelled;

    job.LastRocalRoot = pathFolder(*chosen, prompter);
    if (s.writeSetting) s.writeSetting("Roots", "LastRocalRoot", job.LastRocalRoot);

    Matrix R(3, 3);
    matFromAnglesXYZ(job.RotX(), job.RotY(), job.RotZ(), R);
    const std::string bytes = rocalFileBytes(R, job.TraX() * job.LengthFactor, job.TraY() * job.LengthFactor,
                                             job.TraZ() * job.LengthFactor);
    return writeExportFile(*chosen, bytes, prompter) ? ExportOutcome::Written : ExportOutcome::Failed;
}

}  // namespace kal
