#include <gtest/gtest.h>

#include "input/PointFileRewrite.h"
#include "platform/Regional.h"
#include "shared/Errors.h"

namespace kal {
namespace {

TEST(PointFileRewrite, WritesEveryPointInTheReadUnitWithTheSystemSeparator) {
    platform::ScopedDecimalSeparator comma(',');
    const std::vector<std::string> names{"", "OCS_Q1", "P9"};
    const std::vector<double> x{0, 1000.5, 0.01}, y{0, -2, 1.0 / 3.0}, z{0, 0, 123456789012.0};
    // Read in metres: LengthFactor 0.001.
    EXPECT_EQ(rewrittenPointText(names, x, y, z, '\t', 0.001),
              "OCS_Q1\t1,0005\t-0,002\t0\r\n"
              "P9\t1E-05\t0,000333333333333333\t123456789,012\r\n");
}

TEST(PointFileRewrite, RefusesTextsThatWouldNotReadBackAsTheSamePoints) {
    platform::ScopedDecimalSeparator point('.');
    const std::vector<double> c{0, 1};
    EXPECT_THROW(rewrittenPointText({"", "P 1"}, c, c, c, ' ', 1.0),
                 FormatError);  // name holds the delimiter
    EXPECT_THROW(rewrittenPointText({"", "P1"}, c, c, c, '.', 1.0),
                 FormatError);  // delimiter is the separator
    EXPECT_EQ(rewrittenPointText({"", "P 1"}, c, c, c, ';', 1.0), "P 1;1;1;1\r\n");
}

}  // namespace
}  // namespace kal
