#include <gtest/gtest.h>

#include "annotation/LimitBoxes.h"
#include "platform/Regional.h"

namespace kal {
namespace {

using Box = LimitBox;

// Types `text` into `box` and finishes the edit; returns {lower, upper}.
std::pair<std::string, std::string> typeInto(LimitBoxes& boxes, Box box, const std::string& text) {
    boxes.edit(box, text);
    boxes.finish(box);
    return {boxes.text(Box::Lower), boxes.text(Box::Upper)};
}

TEST(LimitBoxes, CleaningAndFormattingUnderPoint) {
    platform::ScopedDecimalSeparator point('.');
    struct Case {
        Box box;
        const char* typed;
        const char* lower;
        const char* upper;
    };
    const Case cases[] = {
        {Box::Upper, "1", "-1.00", "1.00"},      {Box::Upper, "1,5", "-1.50", "1.50"},  // pasted
        {Box::Upper, " 1.23 ", "-1.23", "1.23"}, {Box::Lower, "-5", "-5.00", "5.00"},
        {Box::Lower, "5", "-5.00", "5.00"},      {Box::Lower, "0", "-0.01", "0.01"},
        {Box::Upper, "0", "-0.01", "0.01"},      {Box::Upper, "-3", "-3.00", "3.00"},
        {Box::Upper, "0.001", "-0.01", "0.01"},  {Box::Upper, "0.505", "-0.51", "0.51"},
    };
    for (const Case& c : cases) {
        LimitBoxes boxes(1);
        EXPECT_EQ(typeInto(boxes, c.box, c.typed), std::make_pair(std::string(c.lower), std::string(c.upper)))
            << c.typed;
    }
}

TEST(LimitBoxes, TextThatIsNoPlainNumberIsRefusedNamingTheBoxAndTheAcceptedPairStays) {
    platform::ScopedDecimalSeparator point('.');
    LimitBoxes boxes(1);
    EXPECT_EQ(boxes.edit(Box::Upper, "0."), "0.");  // "0.5" can be typed left to right
    EXPECT_EQ(boxes.edit(Box::Upper, "1e30"), "1e30");  // shown as typed, never cleaned into 130
    boxes.load(-0.13, 0.56);
    // Cleaning would have made 130, 13, 123, 5 or 12 of these.
    for (const char* typed : {"1e30", "1e-3", "1.2.3", "--5", "1:2M", "a", "", "-", "0.5a"}) {
        for (Box box : {Box::Upper, Box::Lower}) {
            boxes.edit(box, typed);
            const LimitBoxes::Finished finished = boxes.finish(box);
            ASSERT_TRUE(finished.refusal) << typed;
            const std::string caption = box == Box::Upper ? "\"+Tolerance\"" : "\"-Tolerance\"";
            EXPECT_NE(finished.refusal->find(caption), std::string::npos) << *finished.refusal;
            EXPECT_NE(finished.refusal->find("\"" + std::string(typed) + "\""), std::string::npos);
            EXPECT_EQ(boxes.text(Box::Lower), "-0.56") << typed;
            EXPECT_EQ(boxes.text(Box::Upper), "0.56") << typed;
            EXPECT_DOUBLE_EQ(*boxes.limitMm(Box::Upper), 0.56);
        }
    }
    boxes.edit(Box::Upper, "0.5");
    const LimitBoxes::Finished taken = boxes.finish(Box::Upper);
    EXPECT_FALSE(taken.refusal);
    EXPECT_TRUE(taken.changed);
    EXPECT_EQ(boxes.text(Box::Lower), "-0.50");
}

TEST(LimitBoxes, CommaSeparatorReadsBackEitherWay) {
    platform::ScopedDecimalSeparator comma(',');
    LimitBoxes boxes(1);
    EXPECT_EQ(typeInto(boxes, Box::Upper, "1.5"), std::make_pair(std::string("-1,50"), std::string("1,50")));
    EXPECT_DOUBLE_EQ(*boxes.limitMm(Box::Upper), 1.5);
}

TEST(LimitBoxes, LoadShowsTheUpperLimitMirrored) {
    platform::ScopedDecimalSeparator point('.');
    LimitBoxes boxes(1);
    EXPECT_FALSE(boxes.limitMm(Box::Upper));  // "max" keeps the window's value
    boxes.load(-0.13, 0.56);
    EXPECT_EQ(boxes.text(Box::Lower), "-0.56");
    EXPECT_EQ(boxes.text(Box::Upper), "0.56");
    EXPECT_DOUBLE_EQ(*boxes.limitMm(Box::Lower), -0.56);
}

TEST(LimitBoxes, StepButtonsMoveOneLastDigit) {
    platform::ScopedDecimalSeparator point('.');
    LimitBoxes boxes(1);
    boxes.load(-0.5, 0.5);
    EXPECT_TRUE(boxes.step(Box::Upper, +1));  // upper ">"
    EXPECT_EQ(boxes.text(Box::Upper), "0.51");
    EXPECT_EQ(boxes.text(Box::Lower), "-0.51");
    boxes.step(Box::Upper, +1);
    EXPECT_EQ(boxes.text(Box::Upper), "0.52");
    boxes.step(Box::Lower, -1);  // lower ">" widens too
    EXPECT_EQ(boxes.text(Box::Lower), "-0.53");

    boxes.load(-0.01, 0.01);
    boxes.step(Box::Upper, -1);  // upper "<" at 0.01: 0 becomes 0.01 again
    EXPECT_EQ(boxes.text(Box::Upper), "0.01");
    boxes.step(Box::Lower, +1);
    EXPECT_EQ(boxes.text(Box::Lower), "-0.01");

    LimitBoxes fresh(1);  // "min" / "max": no number to step
    EXPECT_FALSE(fresh.step(Box::Upper, +1));
    EXPECT_EQ(fresh.text(Box::Upper), "max");
}

TEST(LimitBoxes, MetreKeepsHundredthsOfAMillimetre) {
    platform::ScopedDecimalSeparator point('.');
    EXPECT_EQ(limitDecimals(1), 2);
    EXPECT_EQ(limitDecimals(0.001), 5);
    EXPECT_EQ(limitDecimals(1 / 25.4), 4);
    EXPECT_EQ(limitDecimals(1 / 304.8), 5);

    LimitBoxes boxes(0.001);
    boxes.load(-0.005, 0.05);  // 0.05 mm
    EXPECT_EQ(boxes.text(Box::Upper), "0.00005");
    boxes.step(Box::Upper, -1);  // 0.04 mm: one step is 0.01 mm
    EXPECT_EQ(boxes.text(Box::Upper), "0.00004");
    EXPECT_NEAR(*boxes.limitMm(Box::Upper), 0.04, 1e-12);
    EXPECT_EQ(typeInto(boxes, Box::Lower, "0").second, "0.00001");
}

TEST(LimitBoxes, LimitsFromTheData) {
    platform::ScopedDecimalSeparator point('.');
    LimitBoxes boxes(1);
    boxes.setFromData(Box::Upper, static_cast<float>(0.567));
    EXPECT_EQ(boxes.text(Box::Upper), "0.57");
    EXPECT_EQ(boxes.text(Box::Lower), "-0.57");
    boxes.setFromData(Box::Lower, static_cast<float>(-0.123));
    EXPECT_EQ(boxes.text(Box::Lower), "-0.12");
    EXPECT_EQ(boxes.text(Box::Upper), "0.12");
}

TEST(LimitBoxes, ExtremeValueHonoursUseFlags) {
    JobState job;
    job.IdenticalCount = 3;
    job.UseFlags = {0, 1, 1, 1, 1, 0, 1, 1, 1, 1};
    PointCloud cloud;
    cloud.reset(6);
    cloud(1, cloud::ColourBasis) = 0.2f;
    cloud(2, cloud::ColourBasis) = 0.9f;  // one use flag 0
    cloud(3, cloud::ColourBasis) = -0.4f;
    cloud(4, cloud::ColourBasis) = 5.0f;  // an OCS copy never counts
    EXPECT_FLOAT_EQ(*extremeColourBasis(cloud, job, false, true), 0.9f);
    EXPECT_FLOAT_EQ(*extremeColourBasis(cloud, job, true, true), 0.2f);
    EXPECT_FLOAT_EQ(*extremeColourBasis(cloud, job, true, false), -0.4f);
    job.IdenticalCount = 0;
    EXPECT_FALSE(extremeColourBasis(cloud, job, false, true));
}

}  // namespace
}  // namespace kal
