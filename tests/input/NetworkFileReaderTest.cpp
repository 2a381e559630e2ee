#include <gtest/gtest.h>

#include "input/NetworkFileReader.h"
#include "input/ReaderTestSupport.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

const char* kNetwork =
    "Network of hall 3\n"
    "Theodolite\n"
    "S1 0 0 0\n"
    "first station, tripod 4\n"
    "S2\t10.5\t0\t1.25\n"
    "END is not read here\n"
    "S3 0 10 0\n"
    "comment\n"
    "END\n"
    "\n"
    "Object Points\n"
    "O1 1 2 3\n"
    "comment\n"
    "END\n"
    "Distances\n"
    "S1 O1 3.741\n"
    "\n"
    "S2 O1 9.5\n"
    "END\n";

TEST(NetworkFileReader, SectionsAreReadAndCommentLinesSkipped) {
    Recorded r;
    const auto file = parseNetworkFile(kNetwork, "n.txt", r.options);
    ASSERT_EQ(file.stationCount(), 3);
    EXPECT_EQ(file.stations[2], "S2");
    EXPECT_EQ(file.stationData(2, 1), 10.5);
    EXPECT_EQ(file.stationData(2, 3), 1.25);
    EXPECT_EQ(file.stations[3], "S3");
    ASSERT_EQ(file.pointCount(), 1);
    EXPECT_EQ(file.pointData(1, 3), 3);
    ASSERT_EQ(file.distanceCount(), 2);
    EXPECT_EQ(file.from[2], "S2");
    EXPECT_EQ(file.to[2], "O1");
    EXPECT_EQ(file.distances[1], 3.741);
    EXPECT_EQ(networkFileReport(file), "Found 3 Stations and 1 Object Points and 2 Distance Observations");
}

TEST(NetworkFileReader, EmptyDistanceSection) {
    Recorded r;
    const auto file = parseNetworkFile("Theodolite\nS1 0 0 0\nc\nEND\nObject Points\nEND\nDistances\nEND\n",
                                       "n.txt", r.options);
    EXPECT_EQ(file.distanceCount(), 0);
    EXPECT_EQ(networkFileReport(file), "Found 1 Stations and 0 Object Points and 0 Distance Observations");
}

TEST(NetworkFileReader, DamagedFilesAreRefusedWithTheirRow) {
    struct Case {
        const char* what;
        const char* text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"empty", "", 0, "the section \"Theodolite\" is missing"},
        {"no Distances", "Theodolite\nEND\nObject Points\nEND\n", 0, "the section \"Distances\" is missing"},
        {"no END", "Theodolite\nS1 0 0 0\nc\n", 0, "the section \"Theodolite\" does not end with \"END\""},
        {"short station", "Theodolite\nS1 0 0\nc\nEND\n", 2,
         "In Row 2 there are only 3 values; 4 are expected"},
        {"bad number", "Theodolite\nEND\nObject Points\nEND\nDistances\nA B 1x\nEND\n", 6,
         "the value \"1x\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        try {
            parseNetworkFile(c.text, "n.txt", r.options);
            ADD_FAILURE() << "read without error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(r.last().find(c.message), std::string::npos) << r.last();
        }
    }
}

}  // namespace
}  // namespace kal
