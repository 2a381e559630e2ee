#include "shell/JobReset.h"

#include "shared/Units.h"
#include "shared/Version.h"

namespace kal {

namespace {

template <typename F>
void step(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

void initializeJob(JobState& job, MainWindowView& view) {
    step([&] {
        if (job.CurrentJobFile.empty()) job.CurrentJobFile = kUntitledJobFile;
    });
    step([&] {
        view.setMainCaption(std::string(kCaptionPrefix) + versionText() + " | " + job.CurrentJobFile);
    });
    step([&] {
        job.OriginPointIndex = 0;
        job.ColourBarShown = false;
        job.TrafoCalculated = false;
    });
    step([&] {
        if (job.LengthUnitName.empty()) {
            job.LengthUnitName = "millimeter";
            job.DigitLength = 3;
        }
    });
    step([&] {
        if (job.AngleUnitName.empty()) {
            job.AngleUnitName = "degree";
            job.DigitAngle = 4;
        }
    });
    step([&] {
        applyUnitSettings(job, [&](const std::string& length, const std::string& angle) {
            view.showUnitNames(length, angle);
        });
    });
    step([&] {
        job.RichtungMCStoOCS = true;
        view.enableMainWindow(true);
    });
    step([&] {
        job.McsCount = 0;
        job.OcsCount = 0;
        job.IdenticalCount = 0;
        job.McsOnlyCount = 0;
        job.OcsOnlyCount = 0;
    });
    step([&] {
        job.MCSOCSGetauscht = false;
        job.DataLoaded = false;
        job.TrafoCalculated = false;
    });
    step([&] { clearMonteCarloRuns(job); });
    step([&] { view.refreshState(); });
}

}  // namespace kal
