#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <vector>

#include "details/ExportTestSupport.h"
#include "details/RobCadExport.h"
#include "platform/Regional.h"
#include "shared/Rotations.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/KnownTransformJob.h"
#include "support/TempDir.h"

namespace kal {
namespace {

const char* const kGolden =
    "HEADER/ 00 , 00 , 00 , ROBFACEOUT ;\r\n"
    "COMPONENT / afo910_Wob_r2a ;     \r\n"
    "afo910 =FRA / 0.0e-05 , 0.0e-05 , 0.0e-05 ,\r\n"
    "0.0e-05 , 0.0e-05 , 0.0e-05 ;   \r\n"
    "r2a_calpos =FRA / 1.2346E+02 , -1.2000E-04 , 0.0000E+00 ,\r\n"
    "1.0000E+01 , 0.0000E+00 , -4.5000E+01 ;\r\n"
    "END / afo910_Wob_r2a ;     \r\n"
    "ATT / _PALETTE_LENGTH , 0;    \r\n"
    "ATT / _PALETTE_LENGTH , 0;    \r\n"
    "ATT / _PALETTE_AMBIENT , 0.0;    \r\n"
    "ATT / _PALETTE_DIFFUSE , 0.0;    \r\n"
    "ATT / _PALETTE_SPECULAR , 0.0;  \r\n"
    "ATT / _PALETTE_EMISSION , 0.0;   \r\n"
    "ATT / _PALETTE_SHININESS , 0.0;   \r\n"
    "ATT / _PALETTE_TEXTURE_HEIGHT , 0;    \r\n"
    "ATT / _PALETTE_TEXTURE_WIDTH , 0;    \r\n"
    "ATT / _PALETTE_S_PLANE , 0.0;    \r\n"
    "ATT / _PALETTE_T_PLANE , 0.0;    \r\n"
    "ATT / _PALETTE_LENGTH , 0;    \r\n"
    "ATT / _PALETTE_MATERIAL_IN_USE , 0;    \r\n"
    "ATT / _PALETTE_AMBIENT , 0.0;    \r\n"
    "ATT / _PALETTE_DIFFUSE , 0.0;    \r\n"
    "ATT / _PALETTE_SPECULAR , 0.0;    \r\n"
    "ATT / _PALETTE_EMISSION , 0.0;    \r\n"
    "ATT / _PALETTE_SHININESS , 0.0;    \r\n"
    "ATT / _PALETTE_TEXTURE_HEIGHT , 0;    \r\n"
    "ATT / _PALETTE_TEXTURE_WIDTH , 0;    \r\n"
    "ATT / _PALETTE_S_PLANE , 0.0;    \r\n"
    "ATT / _PALETTE_T_PLANE , 0.0;    \r\n"
    "END;        \r\n";

RobCadValues goldenValues() {
    RobCadValues v;
    v.toolName = "afo910";
    v.place = "Wob";
    v.robotName = "r2a";
    v.translation[0] = 123.456;
    v.translation[1] = -0.00012;
    v.translation[2] = -0.0;
    v.angles[0] = 9.99996;
    v.angles[1] = -0.0;
    v.angles[2] = -45.0;
    return v;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p; (p = bytes.find("\r\n", start)) != std::string::npos; start = p + 2)
        lines.push_back(bytes.substr(start, p - start));
    EXPECT_EQ(start, bytes.size()) << "the last line ends with CR LF";
    return lines;
}

TEST(RobCadExport, NumberPatternAlwaysTakesAPointAndCarriesTheMantissa) {
    platform::ScopedDecimalSeparator comma(',');
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0000E+00"},       {-0.0, "0.0000E+00"},         {123.456, "1.2346E+02"},
        {-0.00012, "-1.2000E-04"}, {9.99996, "1.0000E+01"},      {-9.99996, "-1.0000E+01"},
        {1e-100, "1.0000E-100"},   {0.0000999996, "1.0000E-04"}, {1.0, "1.0000E+00"},
    };
    for (const auto& [x, text] : cases) EXPECT_EQ(robCadNumber(x), text) << x;
}

TEST(RobCadExport, GoldenBytesAndLineLengthsUnderEitherSeparator) {
    const std::string point = robCadFileBytes(goldenValues()).bytes;
    EXPECT_EQ(point, kGolden);
    {
        platform::ScopedDecimalSeparator comma(',');
        const char* previous = std::setlocale(LC_ALL, nullptr);
        const std::string saved = previous ? previous : "C";
        std::setlocale(LC_ALL, "de_DE.UTF-8");  // where the system has it: the C library's "," too
        EXPECT_EQ(robCadFileBytes(goldenValues()).bytes, kGolden);
        std::setlocale(LC_ALL, saved.c_str());
    }
    // The lengths of the fixed lines, trailing blanks included; the named lines grow with the names.
    const std::vector<std::string> lines = linesOf(point);
    ASSERT_EQ(lines.size(), 30u);
    const std::map<std::size_t, std::size_t> fixed{
        {1, 35},  {4, 32},  {8, 30},  {9, 30},  {10, 33}, {11, 33}, {12, 32}, {13, 33}, {14, 34},
        {15, 38}, {16, 37}, {17, 33}, {18, 33}, {19, 30}, {20, 39}, {21, 33}, {22, 33}, {23, 34},
        {24, 34}, {25, 35}, {26, 38}, {27, 37}, {28, 33}, {29, 33}, {30, 12}};
    for (const auto& [line, length] : fixed) EXPECT_EQ(lines[line - 1].size(), length) << "line " << line;
    const std::size_t names = 6 + 3 + 3;
    EXPECT_EQ(lines[1].size(), 21 + names);
    EXPECT_EQ(lines[2].size(), 37 + 6u);
    EXPECT_EQ(lines[6].size(), 15 + names);
}

TEST(RobCadExport, NamesAreWindows1252WithoutLineBreaks) {
    RobCadValues v = goldenValues();
    v.toolName = "Gr\xC3\xBC\xC3\x9F";  // "Grüß": in the code page
    v.place = "A\r\nB";
    v.robotName = "\xE2\x82\xAC\xE6\x97\xA5";  // "€日": the euro sign is in it, the ideograph is not
    const RobCadFile f = robCadFileBytes(v);
    EXPECT_TRUE(f.lossy);
    EXPECT_NE(f.bytes.find("COMPONENT / Gr\xFC\xDF_AB_\x80? ;     \r\n"), std::string::npos);
    EXPECT_EQ(linesOf(f.bytes).size(), 30u);
    EXPECT_FALSE(robCadFileBytes(goldenValues()).lossy);
}

TEST(RobCadExport, FinalNameRuleIsCaseSensitive) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/cell.RF", "/d/cell.RF.rf"},
        {"/d/cellrf", "/d/cellrf"},
        {"/d/cell", "/d/cell.rf"},
        {"/d/cell.rf", "/d/cell.rf"},
        {"f", "f.rf"},
    };
    for (const auto& [chosen, final] : cases) EXPECT_EQ(robCadFileName(chosen), final);
}

class RobCadFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::setMillimetreDegree(job);
        job.TrafoCalculated = true;
        job.TraX() = 123.456;
        job.TraY() = -0.00012;
        job.ScaleX() = job.ScaleY() = job.ScaleZ() = job.ScaleXYZ() = 1;
        job.LastRobCadRoot = "/old/folder";
        job.Place = "Wob";
        job.ToolName = "afo910";
        services.prompter = &prompter;
        services.fileDialogs = &dialogs;
        services.writeSetting = [this](const std::string& s, const std::string& k, const std::string& v) {
            settings[s + "/" + k] = v;
        };
        services.openFile = [this](const std::string& p) { opened.push_back(p); };
        services.closeDetails = [this] { ++detailsClosed; };
    }
    void answerNames(std::optional<std::string> place, std::optional<std::string> tool,
                     std::optional<std::string> robot) {
        prompter.answerInput(std::move(place));
        prompter.answerInput(std::move(tool));
        prompter.answerInput(std::move(robot));
    }

    JobState job;
    testing::TempDir dir;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    ExportServices services;
    std::map<std::string, std::string> settings;
    std::vector<std::string> opened;
    int detailsClosed = 0;
};

TEST_F(RobCadFlow, WritesTheFileStoresTheSettingsAndOpensIt) {
    dialogs.answer(dir.file("cell.RF"));
    answerNames("Wob", "afo910", "r2a");
    EXPECT_EQ(exportRobCad(job, services), ExportOutcome::Written);
    const std::string written = dir.file("cell.RF.rf");
    const std::string bytes = testing::TempDir::read(written);
    EXPECT_NE(bytes.find("r2a_calpos =FRA / 1.2346E+02 , -1.2000E-04 , 0.0000E+00 ,\r\n"
                         "0.0000E+00 , 0.0000E+00 , 0.0000E+00 ;\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(settings["Roots/LastRobCadRoot"], dir.path());
    EXPECT_EQ(settings["RobCad/Place"], "Wob");
    EXPECT_EQ(opened, std::vector<std::string>{written});
    EXPECT_EQ(detailsClosed, 1);
    EXPECT_EQ(
        prompter.texts().front(),
        "Angle and Distance Output will always be made in Unit witch is set in Menu - Settings - Units");
    EXPECT_EQ(dialogs.shown().at(0).folder, "/old/folder");
    EXPECT_EQ(dialogs.shown().at(0).defaultSuffix, "");
    EXPECT_EQ(testing::namesIn(dir.path()), (std::set<std::string>{"cell.RF.rf"}));
}

TEST_F(RobCadFlow, AnglesAreTheNegatedZxySolutionInDisplayUnits) {
    Matrix M(3, 3);
    matFromAnglesZXY(0.3, 0.5, 0.7, M);
    Vec3 s1{}, s2{};
    anglesFromMatXYZ(M, s1, s2);
    job.RotX() = s1[1];
    job.RotY() = s1[2];
    job.RotZ() = s1[3];
    dialogs.answer(dir.file("a.rf"));
    answerNames("P", "T", "R");
    ASSERT_EQ(exportRobCad(job, services), ExportOutcome::Written);
    const std::vector<std::string> lines = linesOf(testing::TempDir::read(dir.file("a.rf")));
    const double deg = 180.0 / 3.14159265358979323846;
    EXPECT_EQ(lines.at(5), robCadNumber(-0.3 * deg) + " , " + robCadNumber(-0.5 * deg) + " , " +
                               robCadNumber(-0.7 * deg) + " ;");
}

TEST_F(RobCadFlow, CancelledDialogWritesNothingAndKeepsTheSettings) {
    dialogs.answer(std::nullopt);
    EXPECT_EQ(exportRobCad(job, services), ExportOutcome::Cancelled);
    EXPECT_TRUE(settings.empty());
    EXPECT_EQ(job.LastRobCadRoot, "/old/folder");
    EXPECT_EQ(job.Place, "Wob");
    EXPECT_TRUE(testing::namesIn(dir.path()).empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(RobCadFlow, AllPromptsCancelledGiveEmptyNames) {
    dialogs.answer(dir.file("cell"));
    answerNames(std::nullopt, std::nullopt, std::nullopt);
    ASSERT_EQ(exportRobCad(job, services), ExportOutcome::Written);
    const std::vector<std::string> lines = linesOf(testing::TempDir::read(dir.file("cell.rf")));
    EXPECT_EQ(lines.at(1), "COMPONENT / __ ;     ");
    EXPECT_EQ(lines.at(2).rfind(" =FRA / ", 0), 0u);
    EXPECT_EQ(lines.at(6), "END / __ ;     ");
    EXPECT_EQ(settings["RobCad/Place"], "");
    EXPECT_EQ(settings["RobCad/ToolName"], "");
    EXPECT_EQ(job.Place, "");
}

TEST_F(RobCadFlow, AsksBeforeReplacingAnExistingFinalName) {
    const std::string existing = dir.write("cell.rf", "old");
    dialogs.answer(dir.file("cell"));
    prompter.answer(platform::Answer::No);
    EXPECT_EQ(exportRobCad(job, services), ExportOutcome::Cancelled);
    EXPECT_EQ(testing::TempDir::read(existing), "old");
    EXPECT_TRUE(settings.empty());
    EXPECT_EQ(prompter.texts().back(), "File " + existing + " is existing.\nWill you replace it?");

    dialogs.answer(dir.file("cell"));
    prompter.answer(platform::Answer::Yes);
    answerNames("P", "T", "R");
    EXPECT_EQ(exportRobCad(job, services), ExportOutcome::Written);
    EXPECT_NE(testing::TempDir::read(existing), "old");
}

TEST_F(RobCadFlow, WithoutACalculationOnlyTheMessage) {
    job.TrafoCalculated = false;
    EXPECT_EQ(exportRobCad(job, services), ExportOutcome::Refused);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"You must make a calculation to export a *.rf File"});
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(RobCadFlow, NamesOutsideTheCodePageWarnOnce) {
    dialogs.answer(dir.file("w.rf"));
    answerNames("\xE6\x97\xA5", "\xE6\x97\xA5", "\xE6\x97\xA5");
    ASSERT_EQ(exportRobCad(job, services), ExportOutcome::Written);
    int warnings = 0;
    for (const std::string& t : prompter.texts()) warnings += t.find("\"?\"") != std::string::npos;
    EXPECT_EQ(warnings, 1);
    EXPECT_NE(testing::TempDir::read(dir.file("w.rf")).find("COMPONENT / ?_?_? ;"), std::string::npos);
}

TEST_F(RobCadFlow, ReadOnlyFolderAndFullDiskFailWithAMessageAndKeepTheOldFile) {
    const std::string target = dir.write("cell.rf", "old");
    for (int mode = 0; mode < 2; ++mode) {
        dialogs.answer(target);
        answerNames("P", "T", "R");
        ExportOutcome outcome;
        if (mode == 0) {
            testing::ReadOnlyFolderScope readOnly(dir.path());
            outcome = exportRobCad(job, services);
        } else {
            testing::FileSizeLimitScope full(100);
            outcome = exportRobCad(job, services);
        }
        EXPECT_EQ(outcome, ExportOutcome::Failed) << mode;
        EXPECT_EQ(testing::TempDir::read(target), "old");
        EXPECT_EQ(testing::namesIn(dir.path()), (std::set<std::string>{"cell.rf"}));
        EXPECT_NE(prompter.texts().back().find("could not be written"), std::string::npos);
        EXPECT_TRUE(opened.empty());
    }
}

}  // namespace
}  // namespace kal
