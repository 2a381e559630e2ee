#include <gtest/gtest.h>

#include "platform/Regional.h"
#include "shared/Errors.h"
#include "shared/IniFile.h"
#include "shared/IniSettings.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::TempDir;

// A settings file as the program writes it, numbers written under `sep`.
std::string settingsFile(char sep) {
    std::string s =
        "[Global]\r\nMaxIteration=100\r\nOmrivel_Etta=1E-09\r\n\r\n"
        "[Settings]\r\nClipboardValue=3\r\nRawScale=2\r\nNameMCS=Robot\r\nInvertedBMW=Wahr\r\nAdTCP="
        "Falsch\r\n"
        "sigmaX=0.01\r\nsigmaY=0.02\r\nsigmaZ=1.5E-05\r\nMonteCarloRuns=250\r\nGimbalLockBorder=0."
        "0872664625997164\r\n"
        "LastDropDownInfoInOCS=4\r\n\r\n"
        "[Units]\r\nUnitLength=inch\r\nUnitAngle=360°60'60''\r\nDigitLength= 2\r\nDigitAngle= "
        "5\r\nDigitScale= 1\r\n"
        "PhiThetaAsQ=True\r\n\r\n"
        "[Roots]\r\nLastDir=/home/u/jobs\r\nMCS_FileName=/home/u/m.txt\r\n\r\n"
        "[Files]\r\nLastFile1=/home/u/a.tfo\r\nLastFile4=/home/u/d.tfo\r\n\r\n"
        "[GraphicsSettings]\r\nViewAllMCS=True\r\nDevVecDirection=True\r\nShowRVec=-1\r\nScreenBackColor="
        "16777215\r\n\r\n"
        "[LocalGraphics]\r\nVectorMode=True\r\nBigNess=4\r\nVec_Maßstab=2.5\r\nMin=-0.25\r\nMax=0.25\r\n"
        "ColorBased=z\r\nCS_Type=CYL\r\nBinärModus=True\r\nADis=10\r\nCdis=30\r\n\r\n"
        "[FahnenProp]\r\nShowPointNumber=False\r\nShowActual=True\r\nLeft=120\r\nName=Arial\r\nSize=8.25\r\n"
        "Forecolor=255\r\n\r\n[LastEntry]\r\n";
    for (char& c : s)
        if (c == '.' && sep == ',') c = ',';
    // Paths and names keep their points.
    for (const char* p : {"/home/u/m,txt", "/home/u/a,tfo", "/home/u/d,tfo"}) {
        std::string fixed(p);
        fixed[fixed.find(',')] = '.';
        for (std::size_t at; (at = s.find(p)) != std::string::npos;) s.replace(at, fixed.size(), fixed);
    }
    return s;
}

class IniReadAllWrittenUnder : public ::testing::TestWithParam<char> {};

TEST_P(IniReadAllWrittenUnder, ReadsEveryKindOfKeyUnderEitherSeparator) {
    TempDir dir;
    for (char readingSeparator : {'.', ','}) {
        platform::ScopedDecimalSeparator scope(readingSeparator);
        JobState job;
        job.IniFilePath = dir.write("k.ini", settingsFile(GetParam()));
        const auto warnings = readAllIniSettings(job);
        EXPECT_TRUE(warnings.empty()) << warnings.front();
        EXPECT_EQ(job.MaxIteration, 100);
        EXPECT_EQ(job.IterationThreshold, 1e-9);
        EXPECT_EQ(job.ClipboardMode, 3);
        EXPECT_EQ(job.RawScale, 2);
        EXPECT_EQ(job.NameMCS, "Robot");
        EXPECT_TRUE(job.InvertedBMW);
        EXPECT_FALSE(job.AdTCP);
        EXPECT_EQ(job.sigmaX, 0.01);
        EXPECT_EQ(job.sigmaZ, 1.5e-5);
        EXPECT_EQ(job.MonteCarloRuns, 250);
        EXPECT_EQ(job.GimbalLockBorder, 0.0872664625997164);
        EXPECT_EQ(job.OcsFormatIndex, 4);
        EXPECT_EQ(job.LengthUnitName, "inch");
        EXPECT_EQ(job.AngleUnitName, "360°60'60''");
        EXPECT_EQ(job.DigitLength, 2);
        EXPECT_EQ(job.DigitAngle, 5);
        EXPECT_EQ(job.DigitScale, 1);
        EXPECT_TRUE(job.PhiThetaAsQ);
        EXPECT_EQ(job.LastDialogFolder, "/home/u/jobs");
        EXPECT_EQ(job.MCS_FileName, "/home/u/m.txt");
        EXPECT_EQ(job.RecentFiles[1], "/home/u/a.tfo");
        EXPECT_EQ(job.RecentFiles[4], "/home/u/d.tfo");
        EXPECT_TRUE(job.GraphicsFlags.ViewAllMCS);
        EXPECT_TRUE(job.GraphicsFlags.DevVecDirection);
        EXPECT_TRUE(job.GraphicsFlags.ShowRVec);  // a non-zero number is true
        EXPECT_FALSE(job.GraphicsFlags.ViewAllOCS);
        EXPECT_EQ(job.ScreenBackColor, 16777215);
        const auto& d = job.DefaultScreenProperties;
        EXPECT_TRUE(d.VectorMode);
        EXPECT_EQ(d.BigNess, 4);
        EXPECT_EQ(d.Vec_Massstab, 2.5f);
        EXPECT_EQ(d.Min, -0.25);
        EXPECT_EQ(d.ColorBased, "z");
        EXPECT_EQ(d.CS_Type, "CYL");
        EXPECT_TRUE(d.BinaerModus);
        EXPECT_EQ(d.ADis, 10);
        EXPECT_EQ(d.Cdis, 30);
        ASSERT_EQ(d.FahneAnzahl, 1);
        ASSERT_EQ(d.FahneProps.size(), 2u);
        EXPECT_TRUE(d.FahneProps[1].ShowActual);
        EXPECT_EQ(d.FahneProps[1].Left, 120);
        EXPECT_EQ(d.FahneProps[1].Name, "Arial");
        EXPECT_EQ(d.FahneProps[1].Size, 8.25f);
        EXPECT_EQ(d.FahneProps[1].Forecolor, 255);
        EXPECT_EQ(d.FahneProps[0], FahneRecord{});
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, IniReadAllWrittenUnder, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? std::string("Point") : "Comma"; });

TEST(ReadAllIniSettings, ClipboardValueOutsideOneToFiveReadsAsTwoAndIsWrittenBack) {
    TempDir dir;
    JobState job;
    job.IniFilePath =
        dir.write("k.ini",
                  "[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[Settings]\r\nClipboardValue=7\r\nRawScale=2\r\n"
                  "\r\n[LastEntry]\r\n");
    EXPECT_TRUE(readAllIniSettings(job).empty());
    EXPECT_EQ(job.ClipboardMode, 2);
    EXPECT_EQ(TempDir::read(job.IniFilePath),
              "[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[Settings]\r\nClipboardValue=2\r\nRawScale=2\r\n\r\n["
              "LastEntry]\r\n");
}

TEST(ReadAllIniSettings, MissingThresholdIsWrittenAs1E09AndStaysZeroInMemory) {
    TempDir dir;
    for (char sep : {'.', ','}) {
        platform::ScopedDecimalSeparator scope(sep);
        JobState job;
        job.IniFilePath = dir.write("k.ini", "[Global]\r\nMaxIteration=100\r\n\r\n[LastEntry]\r\n");
        EXPECT_TRUE(readAllIniSettings(job).empty());
        EXPECT_EQ(job.IterationThreshold, 0.0);
        EXPECT_EQ(TempDir::read(job.IniFilePath),
                  "[Global]\r\nMaxIteration=100\r\nOmrivel_Etta=1E-09\r\n\r\n[LastEntry]\r\n");
        EXPECT_EQ(job.ClipboardMode, 0);  // a missing ClipboardValue is not repaired
    }
}

TEST(ReadAllIniSettings, ValueThatDoesNotConvertSkipsItsLineAndStartUpGoesOn) {
    TempDir dir;
    JobState job;
    job.MaxIteration = 50;  // the earlier value
    job.sigmaX = 0.5;
    job.IniFilePath = dir.write(
        "k.ini",
        "[Global]\r\nMaxIteration=99999\r\nOmrivel_Etta=1E-10\r\n\r\n[Settings]\r\nsigmaX=\r\nsigmaY=0,03\r\n"
        "MonteCarloRuns=-5\r\n\r\n[Units]\r\nUnitLength=furlong\r\nDigitLength=9\r\nDigitAngle= 4\r\n\r\n"
        "[LocalGraphics]\r\nVectorMode=yes\r\nBigNess=3\r\nnot a key line\r\n\r\n[LastEntry]\r\n");
    const auto warnings = readAllIniSettings(job);
    ASSERT_EQ(warnings.size(), 6u);
    EXPECT_NE(warnings[0].find("\"MaxIteration=99999\""), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("line 2"), std::string::npos) << warnings[0];
    EXPECT_EQ(job.MaxIteration, 50);
    EXPECT_EQ(job.sigmaX, 0.5);
    EXPECT_EQ(job.sigmaY, 0.03);
    EXPECT_EQ(job.MonteCarloRuns, 0);  // clamped
    EXPECT_EQ(job.LengthUnitName, "");
    EXPECT_EQ(job.DigitLength, 0);
    EXPECT_EQ(job.DigitAngle, 4);
    EXPECT_FALSE(job.DefaultScreenProperties.VectorMode);
    EXPECT_EQ(job.DefaultScreenProperties.BigNess, 3);  // the lines after a bad one are read
    EXPECT_EQ(job.IterationThreshold, 1e-10);
}

TEST(ReadAllIniSettings, FlagKeysBeforeShowPointNumberFillFlagOneCreatedOnDemand) {
    TempDir dir;
    JobState job;
    job.IniFilePath =
        dir.write("k.ini",
                  "[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[FahnenProp]\r\nBold=True\r\nShowDev=True\r\n"
                  "\r\n[LastEntry]\r\n");
    EXPECT_TRUE(readAllIniSettings(job).empty());
    const auto& d = job.DefaultScreenProperties;
    ASSERT_EQ(d.FahneAnzahl, 1);
    ASSERT_EQ(d.FahneProps.size(), 2u);
    EXPECT_TRUE(d.FahneProps[1].Bold);
    EXPECT_TRUE(d.FahneProps[1].ShowDev);
}

TEST(ReadAllIniSettings, ShowPointNumberStartsAFreshOneFlagLayoutWhateverTheRecordHeld) {
    TempDir dir;
    JobState job;
    job.DefaultScreenProperties.FahneAnzahl = 3;  // a view stored earlier in this run
    job.DefaultScreenProperties.FahneProps.assign(4, FahneRecord{});
    job.DefaultScreenProperties.FahneProps[3].Italic = true;
    job.IniFilePath =
        dir.write("k.ini",
                  "[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[FahnenProp]\r\nShowPointNumber=Wahr\r\n"
                  "Italic=False\r\nUnderline=True\r\n\r\n[LastEntry]\r\n");
    EXPECT_TRUE(readAllIniSettings(job).empty());
    const auto& d = job.DefaultScreenProperties;
    ASSERT_EQ(d.FahneAnzahl, 1);
    ASSERT_EQ(d.FahneProps.size(), 2u);
    EXPECT_TRUE(d.FahneProps[1].ShowPointNumber);
    EXPECT_TRUE(d.FahneProps[1].Underline);
}

TEST(ReadAllIniSettings, LaterLineOfAKeyWinsAndCommentsAreSkipped) {
    TempDir dir;
    JobState job;
    job.IniFilePath =
        dir.write("k.ini",
                  "[Global]\r\nOmrivel_Etta=1E-09\r\nMaxIteration=10\r\n'MaxIteration=20\r\n"
                  "REM MaxIteration=30\r\n\r\n[Other]\r\nMaxIteration=40\r\n\r\n[LastEntry]\r\n");
    EXPECT_TRUE(readAllIniSettings(job).empty());
    EXPECT_EQ(job.MaxIteration, 40);
}

TEST(ReadAllIniSettings, Windows1252FileMatchesKeysWithUmlauts) {
    TempDir dir;
    JobState job;
    job.IniFilePath = dir.write("k.ini",
                                "[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[LocalGraphics]\r\nVec_Ma\xDF"
                                "stab=3\r\n"
                                "Bin\xE4rModus=True\r\n\r\n[Units]\r\nUnitAngle=360\xB0"
                                "60'60''\r\n\r\n[LastEntry]\r\n");
    EXPECT_TRUE(readAllIniSettings(job).empty());
    EXPECT_EQ(job.DefaultScreenProperties.Vec_Massstab, 3.0f);
    EXPECT_TRUE(job.DefaultScreenProperties.BinaerModus);
    EXPECT_EQ(job.AngleUnitName, "360°60'60''");
}

TEST(ReadAllIniSettings, UnreadableFileIsAFileError) {
    TempDir dir;
    JobState job;
    job.IniFilePath = dir.file("missing.ini");
    EXPECT_THROW(readAllIniSettings(job), FileError);
}

}  // namespace
}  // namespace kal
