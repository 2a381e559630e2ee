#include "shell/OptionsSettings.h"

#include <cmath>

#include "shared/NumberText.h"

namespace kal {

namespace {

const char* fieldName(OptionsField field) {
    switch (field) {
        case OptionsField::SigmaX:
            return "Standard Deviation for MCS x Coordinates";
        case OptionsField::SigmaY:
            return "Standard Deviation for MCS y Coordinates";
        case OptionsField::SigmaZ:
            return "Standard Deviation for MCS z Coordinates";
        case OptionsField::Runs:
            return "Monte Carlo runs";
        case OptionsField::GimbalLockBorder:
            return "the Gimbal Lock border";
    }
    return "";
}

// A typed number in the regional format, finite; nullopt otherwise.
std::optional<double> typedNumber(const std::string& text) {
    try {
        const double value = strictNumber(text);
        if (std::isfinite(value)) return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

OptionsProblem notANumber(OptionsField field) {
    return {field, std::string("Please enter a number for ") + fieldName(field) + "."};
}

}  // namespace

OptionsFields optionsFieldsForJob(JobState& job) {
    if (job.MonteCarloRuns == 0) job.MonteCarloRuns = 100;
    OptionsFields f;
    f.clipboardMode = (job.ClipboardMode >= 1 && job.ClipboardMode <= 5) ? job.ClipboardMode : 0;
    f.inverted = job.InvertedBMW;
    f.adTcp = job.AdTCP;
    f.tableHeading = job.TabelHeadMainSheet;
    f.sigmaX = generalText(job.sigmaX);
    f.sigmaY = generalText(job.sigmaY);
    f.sigmaZ = generalText(job.sigmaZ);
    f.runs = std::to_string(job.MonteCarloRuns);
    const double shown = job.GimbalLockBorder * job.AngleFactor;
    f.gimbalLockBorder = std::isfinite(shown) ? generalText(shown) : "";
    return f;
}

std::int32_t runsFromNumber(double typed) {
    if (typed < 2) return 2;
    return std::max<std::int32_t>(2, roundToInt32(typed));
}

OptionsApplied applyOptions(JobState& job, const OptionsFields& fields) {
    OptionsApplied out;
    double sigma[3] = {};
    const std::string* sigmaText[3] = {&fields.sigmaX, &fields.sigmaY, &fields.sigmaZ};
    const OptionsField sigmaField[3] = {OptionsField::SigmaX, OptionsField::SigmaY, OptionsField::SigmaZ};
    for (int i = 0; i < 3; ++i) {
        const auto value = typedNumber(*sigmaText[i]);
        if (!value) return {notANumber(sigmaField[i]), {}};
        if (*value < 0)
            return {OptionsProblem{sigmaField[i],
                                   std::string(fieldName(sigmaField[i])) + " must not be negative."},
                    {}};
        sigma[i] = *value == 0 ? 0.0 : *value;  // never keep a "-0"
    }

    const auto runsTyped = typedNumber(fields.runs);
    if (!runsTyped) return {notANumber(OptionsField::Runs), {}};
    // Checked before rounding, so 1000000.5 (which rounds to the even 1000000) is not refused.
    if (*runsTyped > kMaxMonteCarloRuns + 0.5)
        return {OptionsProblem{OptionsField::Runs, "Monte Carlo runs must be at most " +
                                                       std::to_string(kMaxMonteCarloRuns) + "."},
                {}};
    const std::int32_t runs = runsFromNumber(*runsTyped);

    const auto borderTyped = typedNumber(fields.gimbalLockBorder);
    if (!borderTyped) return {notANumber(OptionsField::GimbalLockBorder), {}};
    const double border = *borderTyped / job.AngleFactor;
    if (!std::isfinite(border)) return {notANumber(OptionsField::GimbalLockBorder), {}};

    // Every field passed: the job changes, and the keys follow in the window's order.
    if (fields.clipboardMode >= 1 && fields.clipboardMode <= 5) job.ClipboardMode = fields.clipboardMode;
    job.InvertedBMW = fields.inverted;
    job.AdTCP = fields.adTcp;
    job.TabelHeadMainSheet = fields.tableHeading;
    job.sigmaX = sigma[0], job.sigmaY = sigma[1], job.sigmaZ = sigma[2];
    job.MonteCarloRuns = runs;
    job.GimbalLockBorder = border;

    const std::string s = "Settings";
    out.settings = {
        {s, "ClipboardValue", job.ClipboardMode},
        {s, "InvertedBMW", job.InvertedBMW},
        {s, "AdTCP", job.AdTCP},
        {s, "TabelHeadMainSheet", job.TabelHeadMainSheet},
        {s, "sigmaX", job.sigmaX},
        {s, "sigmaY", job.sigmaY},
        {s, "sigmaZ", job.sigmaZ},
        {s, "MonteCarloRuns", job.MonteCarloRuns},
        {s, "GimbalLockBorder", job.GimbalLockBorder},
    };
    return out;
}

}  // namespace kal
