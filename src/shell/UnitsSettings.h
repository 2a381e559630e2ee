#pragma once
// The units window's rules: the choice its five lists and its check box show, and OK's steps in
// their fixed order. What OK reaches outside the job (the main window's status bar, the main
// sheet, the calculation window, the graphics windows' flags, the settings file) goes through
// UnitsOkHost, so each window plugs in there and a test records the order.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/IniFile.h"
#include "shared/JobState.h"

namespace kal {

// The digit lists' items: ComboDigitLength and ComboDigitAngle ("0" .. "0.000000"), ComboDigitScale.
const std::vector<std::string>& digitItems();
const std::vector<std::string>& scaleDigitItems();

// The window's controls as indexes into their lists (the unit names are lengthUnitNames() and
// angleUnitNames()).
struct UnitsChoice {
    int length = 0;            // ComboLength: "millimeter"
    int angle = 0;             // ComboAngle: "degree"
    int digitLength = 3;       // ComboDigitLength
    int digitAngle = 4;        // ComboDigitAngle
    int digitScale = 0;        // ComboDigitScale
    bool phiThetaAsQ = false;  // CheckQ
    bool operator==(const UnitsChoice&) const = default;
};

// What the window shows at opening. A name or digit count outside its list (a hand-edited settings
// file) selects the default item ("millimeter", "degree", digits 3, 4 and 0), so OK never stores an
// empty name or an index of -1.
UnitsChoice unitsChoiceForJob(const JobState& job);

// What OK reaches outside the job, in the order OK reaches it.
class UnitsOkHost {
  public:
    virtual ~UnitsOkHost() = default;
    // The unit names in the main window's status bar (panels 1 and 2).
    virtual void showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) = 0;
    // The units window goes.
    virtual void closeUnitsWindow() = 0;
    virtual bool mainSheetOpen() const = 0;
    // The main sheet fills itself again (FuellenHaupttabelle).
    virtual void refillMainSheet() = 0;
    virtual bool calculationWindowOpen() const = 0;
    // The calculation window's results shown again in the new units (FormThings), the clipboard
    // copy included when a result exists; it marks nothing calculated and enables no export.
    virtual void showResultsAgain() = 0;
    // The calculation window's status-bar panels 8 and 9.
    virtual void showCalculationUnitNames(const std::string& lengthUnit, const std::string& angleUnit) = 0;
    // The six "Units" keys, in one write.
    virtual void writeSettings(const std::vector<IniEntry>& entries) = 0;
    // Every graphics window draws its flags again (Alle_Fahnen_neu_zeichnen).
    virtual void redrawFlags() = 0;
};

// The "Units" keys of a job, in their order: UnitLength, UnitAngle, DigitLength, DigitAngle,
// PhiThetaAsQ, DigitScale; the digits with the blank of a sign position (" 3").
std::vector<IniEntry> unitsSettings(const JobState& job);

// OK (BtnOK_Click): the choice goes into the job, the factors and formats follow (RhoFestlegung),
// the window closes, the main sheet and the calculation window show the new units when open, the
// keys are written and the flags are drawn again. The job is marked changed: units are kept in
// the job file. Returns the warnings of the factor derivation (none for a choice from the lists).
std::vector<std::string> applyUnitsChoice(JobState& job, const UnitsChoice& choice, UnitsOkHost& host);

}  // namespace kal
