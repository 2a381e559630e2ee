#include <gtest/gtest.h>

#include <limits>

#include "input/InputStatistic.h"
#include "input/RobotFileReaders.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

// The ranges as a load leaves them: the KUKA reader's spread of A, B and C copied into the job.
JobState jobAfterKukaLoad(const char* angleUnit, std::int16_t digits) {
    JobState job;
    testing::setMillimetreDegree(job);
    job.AngleUnitName = angleUnit, job.DigitAngle = digits;
    applyUnitSettings(job);
    ReadOptions read;
    read.lengthFactor = job.LengthFactor, read.angleFactor = job.AngleFactor;
    const auto ocs = parseKukaDatFile(
        "DECL E6POS XP1={X 1,Y 2,Z 3,A 10,B 0,C -90,S 6,T 27}\r\n"
        "DECL E6POS XP2={X 4,Y 5,Z 6,A 40,B 5,C -90,S 6,T 27}\r\n",
        "cell.dat", read);
    EXPECT_TRUE(ocs.ranges.has_value());
    job.AbcRange1 = ocs.ranges->range1, job.AbcRange2 = ocs.ranges->range2,
    job.AbcRange3 = ocs.ranges->range3;
    job.KukaOcsMode = true;
    return job;
}

TEST(InputStatistic, KukaRangesShowInTheDisplayAngleUnit) {
    const auto s = inputStatistic(jobAfterKukaLoad("degree", 4));
    EXPECT_EQ(s.rangeCaption, "ABC Range in degree");
    EXPECT_TRUE(s.rangesEnabled);
    EXPECT_EQ(s.ranges, (std::array<std::string, 3>{"30.0000", "5.0000", "0.0000"}));

    // Controller angles are taken in the display unit, so the same file read in gon spreads 30 gon.
    const auto gon = inputStatistic(jobAfterKukaLoad("grad (gon)", 2));
    EXPECT_EQ(gon.rangeCaption, "ABC Range in grad (gon)");
    EXPECT_EQ(gon.ranges[0], "30.00");

    // A range that is no number is no text either.
    JobState broken = jobAfterKukaLoad("degree", 4);
    broken.AbcRange2 = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(inputStatistic(broken).ranges, (std::array<std::string, 3>{"30.0000", "", "0.0000"}));
}

TEST(InputStatistic, OtherFormatsShowNotInUse) {
    struct Case {
        const char* what;
        bool JobState::*mode;
    };
    const Case cases[] = {{"ASCII", &JobState::AsciiOcsMode},
                          {"modx", &JobState::ModxOcsMode},
                          {"FANUC", &JobState::FanucOcsMode},
                          {"xyzabc", &JobState::XyzAbcOcsMode},
                          {"quaternion", &JobState::QuatOcsMode}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        JobState job = jobAfterKukaLoad("degree", 4);  // ranges left from an earlier KUKA load
        job.KukaOcsMode = false;
        job.*c.mode = true;
        const auto s = inputStatistic(job);
        const bool quaternion = c.mode == &JobState::QuatOcsMode;
        EXPECT_EQ(s.rangesEnabled, quaternion);
        if (quaternion) continue;
        EXPECT_EQ(s.ranges, (std::array<std::string, 3>{"not in use", "not in use", "not in use"}));
        EXPECT_EQ(s.rangeCaption, "ABC Range");
    }
}

TEST(InputStatistic, CaptionsNameTheSystemsAndTextsHoldCountsAndFiles) {
    JobState job;
    testing::setMillimetreDegree(job);
    job.NameMCS = "Cell", job.NameOCS = "Robot";
    job.McsCount = 12, job.OcsCount = 10, job.IdenticalCount = 9, job.McsOnlyCount = 3, job.OcsOnlyCount = 1;
    job.MCS_FileName = "/data/cell mcs.txt", job.OCS_FileName = "/data/cell.dat";
    const auto s = inputStatistic(job);
    EXPECT_EQ(s.captions,
              (std::array<std::string, 7>{"MCS - Points in Cell File", "OCS - Points in Robot File",
                                          "Identically Points (In both Files)",
                                          "MCS only - Points only in Cell", "OCS only - Points only in Robot",
                                          "MCS - Cell Filename", "OCS - Robot Filename"}));
    EXPECT_EQ(s.texts, (std::array<std::string, 7>{"12", "10", "9", "3", "1", "/data/cell mcs.txt",
                                                   "/data/cell.dat"}));
}

}  // namespace
}  // namespace kal
