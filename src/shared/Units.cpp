#include "shared/Units.h"

#include <cmath>
#include <utility>

#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Tokenizers.h"

namespace kal {

namespace {

const std::vector<std::pair<std::string, double>>& lengthTable() {
    static const std::vector<std::pair<std::string, double>> t = {
        {"millimeter", 1.0}, {"meter", 1.0 / 1000.0}, {"inch", 1.0 / 25.4}, {"feet", 1.0 / 304.8}};
    return t;
}

const std::vector<std::pair<std::string, double>>& angleTable() {
    static const std::vector<std::pair<std::string, double>> t = {
        {"degree", 180.0 / kUnitPi},
        {"grad (gon)", 200.0 / kUnitPi},
        {"rad", 1.0},
        {"mrad", 1000.0},
        {"arcsecond", 648000.0 / kUnitPi},
        {"arcminute", 10800.0 / kUnitPi},
        {kDmsUnitName, 180.0 / kUnitPi},
    };
    return t;
}

std::optional<double> lookUp(const std::vector<std::pair<std::string, double>>& table,
                             std::string_view name) {
    for (const auto& [n, f] : table)
        if (n == name) return f;
    return std::nullopt;
}

std::vector<std::string> namesOf(const std::vector<std::pair<std::string, double>>& table) {
    std::vector<std::string> names;
    for (const auto& entry : table) names.push_back(entry.first);
    return names;
}

// One field of a degrees-minutes-seconds text; an empty (missing) field is 0.
double fieldValue(const std::string& token, std::string_view whole) {
    if (token.empty()) return 0.0;
    try {
        return ownNumber(token);
    } catch (const FormatError&) {
        throw FormatError("\"" + std::string(whole) + "\" is no angle in degrees, minutes and seconds: \"" +
                          token + "\" is not a number");
    }
}

}  // namespace

const std::vector<std::string>& lengthUnitNames() {
    static const std::vector<std::string> names = namesOf(lengthTable());
    return names;
}

const std::vector<std::string>& angleUnitNames() {
    static const std::vector<std::string> names = namesOf(angleTable());
    return names;
}

std::optional<double> lengthFactorOf(std::string_view name) { return lookUp(lengthTable(), name); }
std::optional<double> angleFactorOf(std::string_view name) { return lookUp(angleTable(), name); }

std::vector<std::string> applyUnitSettings(JobState& job, const UnitPanels& showUnits) {
    std::vector<std::string> warnings;
    if (auto f = lengthFactorOf(job.LengthUnitName)) {
        job.LengthFactor = *f;
    } else {
        warnings.push_back("The length unit \"" + job.LengthUnitName + "\" is unknown; millimeter is used.");
        job.LengthUnitName = "millimeter";
        job.LengthFactor = 1.0;
    }
    if (auto f = angleFactorOf(job.AngleUnitName)) {
        job.AngleFactor = *f;
    } else {
        warnings.push_back("The angle unit \"" + job.AngleUnitName + "\" is unknown; degree is used.");
        job.AngleUnitName = "degree";
        job.AngleFactor = 180.0 / kUnitPi;
    }
    if (job.DigitLength >= 0 && job.DigitLength <= 6) job.LengthFormat = decimalsPattern(job.DigitLength);
    if (job.DigitAngle >= 0 && job.DigitAngle <= 6) job.AngleFormat = decimalsPattern(job.DigitAngle);
    if (job.DigitScale == 0) job.ScaleFormat = "0.000000";
    if (job.DigitScale == 1) job.ScaleFormat = "0.000000000000";
    if (showUnits) showUnits(job.LengthUnitName, job.AngleUnitName);
    return warnings;
}

std::string formatAngle(double wert, double Rho, std::string_view Format, std::string_view Unit,
                        std::string_view angleFormat) {
    if (Unit != kDmsUnitName) return formatNumber(wert * Rho, Format);
    checkedFinite(wert * Rho, "WinkelFormat");
    const bool negative = wert < 0;
    const double a = std::fabs(wert) * Rho;
    const double degrees = std::floor(a);
    const double m = (a - degrees) * 60.0;
    const double minutes = std::floor(m);
    const double seconds = (m - minutes) * 60.0;
    const std::string secondsText = formatNumber(seconds, angleFormat);
    const bool allZero =
        degrees == 0 && minutes == 0 && secondsText.find_first_of("123456789") == std::string::npos;
    std::string text(negative && !allZero ? "-" : " ");
    return text.append(formatNumber(degrees, "0"))
        .append("  ")
        .append(formatNumber(minutes, "0"))
        .append(" ")
        .append(secondsText);
}

double dmsToDegrees(std::string_view text) {
    std::string rest(text), token;
    takeFieldToken(rest, token, " ");
    const bool negative = !token.empty() && token[0] == '-';
    double v = std::fabs(fieldValue(token, text));
    takeFieldToken(rest, token, " ");
    v += fieldValue(token, text) / 60.0;
    takeFieldToken(rest, token, " ");
    v += fieldValue(token, text) / 3600.0;
    return negative && v != 0.0 ? -v : v;
}

bool looksLikeDms(std::string_view text) {
    bool blank = false;
    for (char c : text) {
        if (c == ' ') {
            blank = true;
        } else if (!((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-')) {
            return false;
        }
    }
    return blank;
}

std::string dmsToDecimalText(std::string_view Datenfeld) {
    if (looksLikeDms(Datenfeld)) return generalText(dmsToDegrees(Datenfeld));
    return std::string(Datenfeld);
}

}  // namespace kal
