#pragma once
// How the matching by coordinates and by distances marks its pairs: through the names. Neither
// search moves a point; paired points get equal names, and the matching by name that follows
// moves them to the front.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// What the pair search does with the names of a pair.
enum class PairRenaming {
    Joined,       // both points are named "<MCS name>=<OCS name>"
    McsTakesOcs,  // the MCS point takes the OCS point's name (rename box of the MCS ticked)
    OcsTakesMcs,  // the OCS point takes the MCS point's name (rename box of the OCS ticked)
};

// Prefixes every name of 1..n (entry 0 untouched): "MCS_" for the MCS, "OCS_" for the OCS.
void addNamePrefix(std::vector<std::string>& names, const std::string& prefix);

// Names the pairs found by the search (partner[i]: the OCS index paired with MCS point i, 0 when
// none) and returns their number. Points without partner keep their names.
std::int32_t namePairs(const std::vector<std::int32_t>& partner, std::vector<std::string>& mcsNames,
                       std::vector<std::string>& ocsNames, PairRenaming renaming);

// The first name, in the name order of the matching by name, that occurs twice among 1..n;
// nullopt when every name is unique. The name matching refuses exactly these sets.
std::optional<std::string> firstDoubleName(const std::vector<std::string>& names);

}  // namespace kal
