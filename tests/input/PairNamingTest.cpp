#include <gtest/gtest.h>

#include "input/PairNaming.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;

TEST(PairNaming, NamesPairsByTheRenamingAndLeavesTheOthers) {
    struct Case {
        PairRenaming renaming;
        Names mcs, ocs;
    };
    const std::vector<std::int32_t> partner{0, 2, 0, 1};  // A-Y, B alone, C-X
    const Case cases[] = {
        {PairRenaming::Joined,
         {"", "MCS_A=OCS_Y", "MCS_B", "MCS_C=OCS_X"},
         {"", "MCS_C=OCS_X", "MCS_A=OCS_Y", "OCS_Z"}},
        {PairRenaming::McsTakesOcs, {"", "OCS_Y", "MCS_B", "OCS_X"}, {"", "OCS_X", "OCS_Y", "OCS_Z"}},
        {PairRenaming::OcsTakesMcs, {"", "MCS_A", "MCS_B", "MCS_C"}, {"", "MCS_C", "MCS_A", "OCS_Z"}},
    };
    for (const auto& c : cases) {
        Names mcs{"", "A", "B", "C"}, ocs{"", "X", "Y", "Z"};
        addNamePrefix(mcs, "MCS_");
        addNamePrefix(ocs, "OCS_");
        EXPECT_EQ(namePairs(partner, mcs, ocs, c.renaming), 2);
        EXPECT_EQ(mcs, c.mcs);
        EXPECT_EQ(ocs, c.ocs);
    }
}

TEST(PairNaming, FindsTheFirstDoubleNameInNameOrder) {
    EXPECT_EQ(firstDoubleName({"", "P2", "P1", "P2", "P1"}), "P1");
    EXPECT_EQ(firstDoubleName({"", "7", "007", "07", "p1", "P1"}), std::nullopt);  // distinct texts
    EXPECT_EQ(firstDoubleName({""}), std::nullopt);
}

}  // namespace
}  // namespace kal
