#pragma once
// Display units: lengths are held in millimetres and angles in radians; the user sees them in
// a chosen unit with a chosen number of decimals. Turns the unit names and digit counts of the
// job into factors and number patterns, and formats and reads angles, degrees-minutes-seconds
// included.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/JobState.h"

namespace kal {

// The unit factors divide by this decimal value of pi, not by pi to full precision.
inline constexpr double kUnitPi = 3.14159265358979;

// The angle unit shown as degrees, minutes and seconds.
inline constexpr const char* kDmsUnitName = "360°60'60''";

// Unit names in the order of the units window's lists.
const std::vector<std::string>& lengthUnitNames();  // "millimeter", "meter", "inch", "feet"
const std::vector<std::string>& angleUnitNames();   // "degree", "grad (gon)", "rad", ...

// Display value per millimetre or per radian; nullopt for a name outside the table (exact,
// case-sensitive comparison).
std::optional<double> lengthFactorOf(std::string_view name);
std::optional<double> angleFactorOf(std::string_view name);

// Shows the two unit names in the main window's status bar (panels 1 and 2).
using UnitPanels = std::function<void(const std::string& lengthUnit, const std::string& angleUnit)>;

// Sets LengthFactor and AngleFactor from the unit names, and LengthFormat, AngleFormat
// (DigitLength, DigitAngle 0..6) and ScaleFormat (DigitScale 0 or 1: "0.000000" or
// "0.000000000000"); a digit count outside its range leaves its pattern unchanged (RhoFestlegung). A unit
// name outside its table would leave a factor of 0 (a division by zero later): it falls back to "millimeter"
// or "degree", name and factor, and the returned list says so.
std::vector<std::string> applyUnitSettings(JobState& job, const UnitPanels& showUnits = {});

// An angle (radians) for display: wert × Rho with the pattern Format; with the unit
// "360°60'60''" as degrees, minutes and seconds, the sign on the degree field and the seconds
// formatted with angleFormat (the job's AngleFormat): 12.5° gives " 12  30 0.0000", -0.5°
// gives "-0  30 0.0000" (WinkelFormat). Seconds that round up show 60 (" 0  41 60.0000"). An angle whose
// every field shows 0 carries no "-".
std::string formatAngle(double wert, double Rho, std::string_view Format, std::string_view Unit,
                        std::string_view angleFormat);

// The decimal degrees of a degrees-minutes-seconds text (fields separated by blanks, the sign
// on the degree field): "  12 30 36" gives 12.51, "-0 30 0" gives -0.5 (GradMinSekToZahl). A missing minutes
// or seconds field counts as 0; a field that is no number throws FormatError. Fields take "." or
// "," as the decimal point.
double dmsToDegrees(std::string_view text);

// True when the text holds only digits, ".", ",", "-" and blanks, and at least one blank (IsItGradMinSek).
bool looksLikeDms(std::string_view text);

// A degrees-minutes-seconds text as its decimal value in the general form (regional
// separator); any other text unchanged (SaveWinkelZurueck). Its readers (parameter states, seed values) take
// it back with leadingOwnNumber, so "12,51" written under "," reads as 12.51.
std::string dmsToDecimalText(std::string_view Datenfeld);

}  // namespace kal
