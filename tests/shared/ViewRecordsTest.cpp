#include <gtest/gtest.h>

#include "shared/ViewRecords.h"

namespace kal {
namespace {

TEST(ViewRecords, NewRecordIsTheUnsetDefaultWithUnsizedArrays) {
    ScreenProperties r;
    EXPECT_EQ(r.ADis, 0);
    EXPECT_TRUE(isNeverSized(r.ViewAngles));
    EXPECT_TRUE(isNeverSized(r.Lines));
    EXPECT_FALSE(r.FlagOfPoint.isSized());
    EXPECT_TRUE(r.FahneProps.empty());
    EXPECT_EQ(r.PlaneMatrix.rows(), 3);  // fixed 0..3 by 0..3
    EXPECT_EQ(r.PlaneMatrix.cols(), 3);
}

TEST(ViewRecords, ResizingFlagOfPointKeepsTheFlagsOfTheRowsThatRemain) {
    FlagOfPointArray f;
    f.resize(10);
    f.set(2, 1);
    f.set(7, 2);
    f.set(10, 3);
    f.resize(7);
    EXPECT_EQ(f.upper(), 7);
    EXPECT_EQ(f[2], 1);
    EXPECT_EQ(f[7], 2);
    EXPECT_EQ(f[10], 0);
    EXPECT_EQ(f.flaggedRows().size(), 2u);
    f.set(2, 0);
    EXPECT_EQ(f.flaggedRows().size(), 1u);
    f.resize(100);
    EXPECT_EQ(f[10], 0);  // a row dropped by shrinking does not come back
}

TEST(ViewRecords, CopiedRecordSharesNoArrayWithItsSource) {
    ScreenProperties a;
    a.FahneProps.resize(2);
    a.FahneProps[1].Name = "Arial";
    a.FlagOfPoint.set(5, 1);
    ScreenProperties b = a;
    b.FahneProps[1].Name = "Courier";
    b.FlagOfPoint.set(5, 0);
    EXPECT_EQ(a.FahneProps[1].Name, "Arial");
    EXPECT_EQ(a.FlagOfPoint[5], 1);
    EXPECT_NE(a, b);
}

}  // namespace
}  // namespace kal
