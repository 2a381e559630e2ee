#pragma once
// Seed and fixed values of the parameter rows: applySeed moves them into the parameter block when
// a least-squares run starts, "Value to SEED" copies the current parameters into the seed boxes,
// and isSeedPointName tells the seed points apart.
//
// Units: the boxes hold display units; the parameter block holds millimetres and radians.
// Seed boxes and fixed values are the program's own texts as well as typed ones: they are read
// with "." or "," as the decimal point, so a value written under one separator reads back with
// its fraction under the other.
#include <optional>
#include <string>

#include "calculation/ParameterPanel.h"
#include "engine/SeedValueSource.h"
#include "shared/JobState.h"

namespace kal {

class SeedValues : public SeedValueSource {
  public:
    explicit SeedValues(const ParameterPanel& panel) : panel_(panel) {}

    // Overwrites each parameter for which the panel holds a seed (estimated row, seed box
    // ticked) or a fixed value (row not estimated, neither "float" nor "not used"), then turns
    // exact zero scales into 1 and refreshes the working copy of the rotation. A seed on scale
    // xyz, or a fixed common scale, sets all three axis scales, not ScaleXYZ. Throws FormatError
    // for a text that is not a number; `checkTexts` finds those first.
    void applySeed(JobState& job) override;

    // The message for the first seed or fixed text applySeed would fail on, naming the row and
    // the text (`Seed value of "tra x" is not a number: "abc"`); nothing when all read. Fixed
    // angles never fail: a text without a leading number counts as 0.
    std::optional<std::string> checkTexts(const JobState& job) const;

  private:
    const ParameterPanel& panel_;
};

// True when `name` equals one of the three seed point names (exact, case-sensitive) (ItsASeed); the
// point table paints the name cells of the seed points by it.
bool isSeedPointName(const JobState& job, const std::string& name);

// "Value to SEED": the seed box of every row whose value box holds a value (neither "float" nor
// "not used") gets the current parameter in display units; the vector rows only in the use-ABC
// mode, R Dist. last with all its digits. Seed check boxes are left alone; nothing calculates.
void valueToSeed(ParameterPanel& panel, const JobState& job);

}  // namespace kal
