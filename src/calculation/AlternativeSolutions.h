#pragma once
// The other angle sets the calculation window can show for the same transformation. A rotation
// matrix has two x-y'-z'' triples and a shape matrix two (xy, azimuth z, z to xy) triples; the
// product R·K of rotation and shape can further be split in several ways. Every calculation keeps
// the triple with the smaller sum of absolute angles; these functions give the others.
//
// Angles are radians in the job and display units in the boxes (AngleFactor); a box is read as
// the program reads an angle box (a degrees-minutes-seconds text converted first, "float" and
// "not used" as 0).
#include <array>
#include <optional>
#include <string>

#include "calculation/ParameterPanel.h"
#include "shared/JobState.h"

namespace kal {

// The numeric value of an angle box, in display units.
double angleBoxValue(const std::string& text);

// ("&sec Rot Sol") The texts for rot x, rot y', rot z'': solution 2 of the job's rotation when the
// rot x box shows solution 1 (within one display unit), else solution 1. The parameters stay.
std::array<std::string, 3> otherRotationTexts(JobState& job, const std::string& rotXText);

// ("&sec Aff Sol") The texts for xy, Azimuth z, z to xy: solution 1 of the job's shape angles when
// the Azimuth z box shows solution 2 (within one display unit), else solution 2.
std::array<std::string, 3> otherShapeTexts(JobState& job, const std::string& azimuthText);

// ("Show alternativ Rot / Affin Solution") The partner split of R·K of the row whose rotation
// matches the boxes (within 0.001 display units): rows 1 and 5, 3 and 7 are partners. Radians:
// rot x, rot y', rot z'', xy, azimuth z, z to xy. Nothing when no set rebuilds R·K (`noSolution`
// is then set), when no row matches or the match has no partner.
struct AlternativeSplit {
    std::array<double, 3> rotation{};
    std::array<double, 3> shape{};
};
std::optional<AlternativeSplit> alternativeSplit(JobState& job,
                                                 const std::array<std::string, 3>& rotationTexts,
                                                 bool* noSolution = nullptr);

// (Logic_BtnShowAlternativ) The alternative-split button is enabled while a shape angle takes part:
// a shape box holds a number other than 0 (not "not used"), or a shape row is estimated.
bool alternativeSplitEnabled(const ParameterPanel& panel);

}  // namespace kal
