#include "input/PairNaming.h"

#include "shared/Sorting.h"

namespace kal {

void addNamePrefix(std::vector<std::string>& names, const std::string& prefix) {
    for (std::size_t i = 1; i < names.size(); ++i) names[i].insert(0, prefix);
}

std::int32_t namePairs(const std::vector<std::int32_t>& partner, std::vector<std::string>& mcsNames,
                       std::vector<std::string>& ocsNames, PairRenaming renaming) {
    std::int32_t pairs = 0;
    for (std::size_t i = 1; i < partner.size(); ++i) {
        const auto j = static_cast<std::size_t>(partner[i]);
        if (j == 0) continue;
        switch (renaming) {
            case PairRenaming::Joined:
                mcsNames[i] = mcsNames[i] + "=" + ocsNames[j];
                ocsNames[j] = mcsNames[i];
                break;
            case PairRenaming::McsTakesOcs:
                mcsNames[i] = ocsNames[j];
                break;
            case PairRenaming::OcsTakesMcs:
                ocsNames[j] = mcsNames[i];
                break;
        }
        ++pairs;
    }
    return pairs;
}

std::optional<std::string> firstDoubleName(const std::vector<std::string>& names) {
    std::vector<std::string> sorted = names;
    std::vector<std::int32_t> index;
    sortNames(sorted, index);
    for (std::size_t i = 2; i < sorted.size(); ++i)
        if (sorted[i] == sorted[i - 1]) return sorted[i];
    return std::nullopt;
}

}  // namespace kal
