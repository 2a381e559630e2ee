#include "shell/UnitsSettings.h"

#include <algorithm>

#include "shared/Units.h"

namespace kal {

namespace {

int indexOf(const std::vector<std::string>& items, const std::string& text, int fallback) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? fallback : static_cast<int>(it - items.begin());
}

int inRange(int value, std::size_t count, int fallback) {
    return (value >= 0 && static_cast<std::size_t>(value) < count) ? value : fallback;
}

// The standard number-to-text conversion with its sign position: " 3", "-1".
std::string digitText(int value) { return (value < 0 ? "" : " ") + std::to_string(value); }

}  // namespace

const std::vector<std::string>& digitItems() {
    static const std::vector<std::string> items = {"0",      "0.0",     "0.00",    "0.000",
                                                   "0.0000", "0.00000", "0.000000"};
    return items;
}

const std::vector<std::string>& scaleDigitItems() {
    static const std::vector<std::string> items = {"0.000000", "0.000000000000"};
    return items;
}

UnitsChoice unitsChoiceForJob(const JobState& job) {
    const UnitsChoice defaults;
    UnitsChoice c;
    c.length = indexOf(lengthUnitNames(), job.LengthUnitName, defaults.length);
    c.angle = indexOf(angleUnitNames(), job.AngleUnitName, defaults.angle);
    c.digitLength = inRange(job.DigitLength, digitItems().size(), defaults.digitLength);
    c.digitAngle = inRange(job.DigitAngle, digitItems().size(), defaults.digitAngle);
    c.digitScale = inRange(job.DigitScale, scaleDigitItems().size(), defaults.digitScale);
    c.phiThetaAsQ = job.PhiThetaAsQ;
    return c;
}

std::vector<IniEntry> unitsSettings(const JobState& job) {
    const std::string s = "Units";
    return {
        {s, "UnitLength", job.LengthUnitName},
        {s, "UnitAngle", job.AngleUnitName},
        {s, "DigitLength", digitText(job.DigitLength)},
        {s, "DigitAngle", digitText(job.DigitAngle)},
        {s, "PhiThetaAsQ", job.PhiThetaAsQ},
        {s, "DigitScale", digitText(job.DigitScale)},
    };
}

std::vector<std::string> applyUnitsChoice(JobState& job, const UnitsChoice& choice, UnitsOkHost& host) {
    // The lists offer only their items; an index from elsewhere takes the default item.
    const UnitsChoice defaults;
    const auto& lengths = lengthUnitNames();
    const auto& angles = angleUnitNames();
    job.LengthUnitName =
        lengths[static_cast<std::size_t>(inRange(choice.length, lengths.size(), defaults.length))];
    job.AngleUnitName =
        angles[static_cast<std::size_t>(inRange(choice.angle, angles.size(), defaults.angle))];
    job.DigitLength =
        static_cast<std::int16_t>(inRange(choice.digitLength, digitItems().size(), defaults.digitLength));
    job.DigitAngle =
        static_cast<std::int16_t>(inRange(choice.digitAngle, digitItems().size(), defaults.digitAngle));
    job.DigitScale =
        static_cast<std::int16_t>(inRange(choice.digitScale, scaleDigitItems().size(), defaults.digitScale));
    job.PhiThetaAsQ = choice.phiThetaAsQ;
    job.JobDirty = true;

    const auto warnings = applyUnitSettings(
        job,
        [&host](const std::string& length, const std::string& angle) { host.showUnitNames(length, angle); });
    host.closeUnitsWindow();
    if (host.mainSheetOpen()) host.refillMainSheet();
    if (host.calculationWindowOpen()) {
        host.showResultsAgain();
        host.showCalculationUnitNames(job.LengthUnitName, job.AngleUnitName);
    }
    host.writeSettings(unitsSettings(job));
    host.redrawFlags();
    return warnings;
}

}  // namespace kal
