#include <gtest/gtest.h>

#include "shell/HelpInfo.h"
#include "support/TempDir.h"

namespace kal {
namespace {

TEST(HelpInfo, MailLinkIsBuiltOnceWithItsLineBreaksAsTheyStand) {
    EXPECT_EQ(supportMailLink("help@example.org"),
              "mailto:help@example.org?Subject=Kalvoreth issue&Body=Kalvoreth Parameter (do not "
              "delete)%0A2%0A0%0A63%0A%0ADear Kalvoreth Team, %0A%0A");
    EXPECT_EQ(versionLabelText(), "Version 2.0.63");
}

// Before the reload ran the unit derivation, a file naming metre left the factor of millimetre
// under the name "meter": lengths labelled in one unit and computed in another.
TEST(HelpInfo, ReloadDerivesFactorsAndFormatsFromTheUnitsRead) {
    testing::TempDir dir;
    JobState job;
    job.LengthUnitName = "millimeter", job.AngleUnitName = "degree", job.DigitLength = 3, job.DigitAngle = 4;
    applyUnitSettings(job);
    job.IniFilePath = dir.write("Kalvoreth.ini",
                                "[Units]\r\nUnitLength=meter\r\nUnitAngle=rad\r\nDigitLength= 2\r\n\r\n"
                                "[Settings]\r\nClipboardValue=3\r\n\r\n[LastEntry]\r\n");
    std::vector<std::string> order;
    const auto messages = reloadSettingsFile(
        job, [&](const std::string& l, const std::string& a) { order.push_back("units " + l + " " + a); },
        [&] { order.push_back("menus"); });
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(job.LengthUnitName, "meter");
    EXPECT_DOUBLE_EQ(job.LengthFactor, 0.001);
    EXPECT_DOUBLE_EQ(job.AngleFactor, 1.0);
    EXPECT_EQ(job.LengthFormat, "0.00");
    EXPECT_EQ(job.ClipboardMode, 3);
    EXPECT_EQ(order, (std::vector<std::string>{"units meter rad", "menus"}));
}

TEST(HelpInfo, MissingSettingsFileKeepsTheSettingsAndSaysSo) {
    testing::TempDir dir;
    JobState job;
    job.LengthUnitName = "inch", job.ClipboardMode = 4;
    job.IniFilePath = dir.file("gone.ini");
    bool refreshed = false;
    const auto messages = reloadSettingsFile(job, {}, [&] { refreshed = true; });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("gone.ini"), std::string::npos);
    EXPECT_EQ(job.LengthUnitName, "inch");
    EXPECT_EQ(job.ClipboardMode, 4);
    EXPECT_FALSE(refreshed);
}

}  // namespace
}  // namespace kal
