#include <gtest/gtest.h>

#include "input/ReaderTestSupport.h"
#include "input/ShapeProfileReader.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

std::string parabola(int last) {
    std::string s;
    for (int r = 0; r <= last; ++r) s += std::to_string(r) + " " + std::to_string(r * r) + "\n";
    return s;
}

TEST(ShapeProfileReader, ReportOfAParabolaInMillimetres) {
    Recorded r;
    const auto file = parseShapeProfileFile(parabola(4), "/d/shape.txt", r.options);
    ASSERT_EQ(file.profile.rows(), 5);
    EXPECT_EQ(file.profile(5, 1), 4);
    EXPECT_EQ(file.profile(5, 2), 16);
    ASSERT_EQ(r.prompter.texts().size(), 1u);
    EXPECT_EQ(
        r.last(),
        "Due to using discret Points in the nominal file, Kalvoreth ist interpolating beetween this points.\n"
        "To analyze how much error this causes, Kalvoreth does some test cacluations; for details see the "
        "Kalvoreth Manual:\n"
        "Chapter Paraboloid Option\n\nBiggest delta1 is 1.000000 millimeter\n\n"
        "Accuracy of Interpolation based on the Shape Definition is approx. 1/4 of delta1 and is at the "
        "worst "
        "position better than  \n0.250000 millimeter\n\n"
        "The average interpolation accuracy (average delta1) for the whole shape is \n0.050000 millimeter\n");
}

TEST(ShapeProfileReader, AverageCountsEveryRowInTheDivisor) {
    Recorded r;
    parseShapeProfileFile(parabola(5), "shape.txt", r.options);
    EXPECT_NE(r.last().find("is \n0.083333 millimeter"), std::string::npos) << r.last();
}

TEST(ShapeProfileReader, ShortOrStraightProfilesReportZeros) {
    for (const char* text : {"0 0\n1 1\n2 4\n3 9\n", "0 0\n1 2\n2 4\n3 6\n4 8\n5 10\n"}) {
        Recorded r;
        const auto file = parseShapeProfileFile(text, "shape.txt", r.options);
        EXPECT_EQ(file.biggestDelta1, 0);
        EXPECT_EQ(file.averageDelta1, 0);
    }
}

TEST(ShapeProfileReader, NeighbouringDuplicatesAreDroppedHeightsTakenWithoutSign) {
    Recorded r;
    r.options.lengthFactor = 0.1;  // centimetres
    r.options.lengthUnitName = "cm";
    const auto file = parseShapeProfileFile("0;0\n1;-1\n1;-1\n\n2;-4\n1;-1\n", "/d/s.txt", r.options);
    ASSERT_EQ(file.profile.rows(), 4);  // the far duplicate stays
    EXPECT_EQ(file.profile(2, 1), 10);
    EXPECT_EQ(file.profile(2, 2), 10);
    EXPECT_EQ(file.duplicatesDropped, 1);
    // The duplicates, the report, then the warning that r falls back at the far duplicate.
    ASSERT_EQ(r.prompter.texts().size(), 3u);
    EXPECT_EQ(r.prompter.texts()[0], "Found 1 double Points in File\n/d/s.txt\n...and will ignore them");
    EXPECT_NE(r.prompter.texts()[1].find("Biggest delta1 is 0.000000 cm"), std::string::npos);
    EXPECT_NE(r.last().find("In Row 6 the radius does not grow"), std::string::npos) << r.last();
}

TEST(ShapeProfileReader, RadiiThatDoNotGrowAreWarnedAboutNeverSorted) {
    Recorded r;
    const auto file = parseShapeProfileFile("0 0\n2 4\n1 1\n3 9\n", "/d/s.txt", r.options);
    ASSERT_EQ(file.profile.rows(), 4);
    EXPECT_EQ(file.profile(2, 1), 2);  // the file order stands
    EXPECT_EQ(file.profile(3, 1), 1);
    ASSERT_EQ(r.prompter.texts().size(), 2u);
    EXPECT_EQ(
        r.last(),
        "File: \n/d/s.txt\n\nIn Row 3 the radius does not grow; the shape profile needs its vertices in "
        "the order of growing r");
}

TEST(ShapeProfileReader, EqualRadiiTwoRowsApartSkipTheirTestRow) {
    Recorded r;
    const auto file = parseShapeProfileFile("0 0\n1 1\n2 2\n3 9\n2 5\n", "s.txt", r.options);
    EXPECT_EQ(file.biggestDelta1, 0);
}

TEST(ShapeProfileReader, ProfilesWithoutTwoUsableVerticesAreRefused) {
    struct Case {
        const char* what;
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"empty file", "", 0, "no usable shape profile"},
        {"one vertex", "1 2\n", 0, "no usable shape profile"},
        {"one vertex twice", "1 2\n1 2\n", 0, "no usable shape profile"},
        {"one value", "1 2\n3\n", 2, "In Row 2 there are not the two values r and z"},
        {"letters", "1 2\n3 z\n", 2, "In Row 2 the value \"z\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        try {
            parseShapeProfileFile(c.text, "s.txt", r.options);
            ADD_FAILURE() << "read without error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(r.last().find(c.message), std::string::npos) << r.last();
        }
    }
}

TEST(ShapeProfileReader, DecimalCommaProfileIsRewrittenWhenTheUserAgrees) {
    Recorded r;
    r.prompter.answer(platform::Answer::Yes);
    const auto file = parseShapeProfileFile("0;0\n1,5;2,25\n", "s.txt", r.options);
    EXPECT_EQ(file.profile(2, 1), 1.5);
    EXPECT_EQ(*file.rewrittenBytes, "0;0\r\n1.5;2.25\r\n");
}

}  // namespace
}  // namespace kal
