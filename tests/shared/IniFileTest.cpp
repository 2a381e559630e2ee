#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Regional.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/IniFile.h"
#include "shared/TextEncoding.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::TempDir;

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

// The writer, byte for byte: each row gives the file before and after writing key=value.
const WriteCase kWriteCases[] = {
    {"NewKeyIntoEmptyFile", "", "S", "k", "v", "[S]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"ReplacesKeyInItsSection", "[S]\r\nk=old\r\na=1\r\n\r\n[LastEntry]\r\n", "S", "k", "v",
     "[S]\r\nk=v\r\na=1\r\n\r\n[LastEntry]\r\n"},
    {"NewKeyIntoMiddleSectionKeepsTheEmptyLine", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n\r\n[LastEntry]\r\n", "S",
     "k", "v", "[S]\r\na=1\r\nk=v\r\n\r\n[T]\r\nb=2\r\n\r\n[LastEntry]\r\n"},
    {"NewKeyIntoLastSectionBeforeTheSentinel", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n\r\n[LastEntry]\r\n", "T",
     "k", "v", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"NewSectionGoesBeforeTheSentinel", "[S]\r\na=1\r\n\r\n[LastEntry]\r\n", "T", "k", "v",
     "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"HeaderWithoutKeysIsNotTheTarget", "[S]\r\n\r\n[LastEntry]\r\n", "S", "k", "v",
     "[S]\r\n\r\n[S]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"KeyOfTwoSectionsOfOneNameIsReplacedInBoth",
     "[S]\r\nk=1\r\n\r\n[T]\r\nb=2\r\n\r\n[S]\r\nk=3\r\n\r\n[LastEntry]\r\n", "S", "k", "v",
     "[S]\r\nk=v\r\n\r\n[T]\r\nb=2\r\n\r\n[S]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"KeysAreCaseSensitive", "[Global]\r\nMaxIteration=100\r\n\r\n[LastEntry]\r\n", "Global", "maxiteration",
     "5", "[Global]\r\nMaxIteration=100\r\nmaxiteration=5\r\n\r\n[LastEntry]\r\n"},
    {"SameKeyInAnotherSectionIsLeftAlone", "[A]\r\nk=1\r\n\r\n[S]\r\na=1\r\n\r\n[LastEntry]\r\n", "S", "k",
     "v", "[A]\r\nk=1\r\n\r\n[S]\r\na=1\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"CommentsAndLineEndsOfAnyKind", "REM top\n[S]\ra=1\nrem note\r\n\r\n[LastEntry]", "S", "a", "2",
     "REM top\r\n[S]\r\na=2\r\nrem note\r\n\r\n[LastEntry]\r\n"},
    // Faults of the old writer, each with the file it spoiled.
    {"KeyIntoLastSectionWithoutSentinelIsNotLost", "[S]\r\na=1\r\n", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
    {"SectionWithoutEmptyLineDoesNotGlueTwoKeyLines", "[S]\r\na=1\r\n[T]\r\nb=2\r\n\r\n[LastEntry]\r\n", "S",
     "k", "v", "[S]\r\na=1\r\nk=v\r\n[T]\r\nb=2\r\n\r\n[LastEntry]\r\n"},
    {"ValueHoldingTheSentinelTextIsNotCut", "[A]\r\nx=see [LastEntry]\r\n\r\n[LastEntry]\r\n", "S", "k", "v",
     "[A]\r\nx=see [LastEntry]\r\n\r\n[S]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
    {"NewSectionAfterFileWithoutSentinelDoesNotGlueTheHeader", "[A]\r\na=1", "S", "k", "v",
     "[A]\r\na=1\r\n\r\n[S]\r\nk=v\r\n\r\n[LastEntry]\r\n"},
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWriter : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriter, GivesTheExactBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(iniTextWithValue(c.before, c.section, c.key, c.value), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniWriter, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, WriteGoesThroughTheFileAndBatchedWritesGiveTheSameBytes) {
    TempDir dir;
    const std::string one = dir.file("sub/one.ini");  // a missing folder is created
    const std::string batch = dir.file("batch.ini");
    writeIniValue(one, "Window", "FHeight", 3315);
    writeIniValue(one, "Window", "FTop", 100);
    writeIniValue(one, "Global", "Omrivel_Etta", 1E-09);
    writeIniValue(one, "Units", "PhiThetaAsQ", true);
    writeIniValues(batch, {{"Window", "FHeight", 3315},
                           {"Window", "FTop", 100},
                           {"Global", "Omrivel_Etta", 1E-09},
                           {"Units", "PhiThetaAsQ", true}});
    const std::string bytes = TempDir::read(one);
    EXPECT_EQ(bytes,
              "[Window]\r\nFHeight=3315\r\nFTop=100\r\n\r\n[Global]\r\nOmrivel_Etta=1E-09\r\n\r\n[Units]\r\n"
              "PhiThetaAsQ=True\r\n\r\n[LastEntry]\r\n");
    EXPECT_EQ(TempDir::read(batch), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary left
}

TEST(IniFile, NumbersAreWrittenWithTheRegionalSeparator) {
    platform::ScopedDecimalSeparator comma(',');
    EXPECT_EQ(IniValue(0.01).text(), "0,01");
    EXPECT_EQ(IniValue(0.1f).text(), "0,1");
    EXPECT_EQ(IniValue(std::int16_t{3}).text(), "3");
    EXPECT_EQ(IniValue(false).text(), "False");
    EXPECT_EQ(IniValue("text").text(), "text");
}

TEST(IniFile, RefusesValuesThatWouldBreakTheLineLayout) {
    EXPECT_THROW(iniTextWithValue("", "S", "k", "a\r\nb=1"), FormatError);
    EXPECT_THROW(iniTextWithValue("", "S", "k=x", "v"), FormatError);
    EXPECT_THROW(iniTextWithValue("", "S", "", "v"), FormatError);
    EXPECT_THROW(iniTextWithValue("", "S\n", "k", "v"), FormatError);
}

TEST(IniFile, FailedWriteLeavesTheOldFileIntact) {
    TempDir dir;
    // A name so long that no temporary file fits beside it: the write fails before the rename.
    const std::string path = dir.write(std::string(250, 'k') + ".ini", "[S]\r\nk=1\r\n\r\n[LastEntry]\r\n");
    EXPECT_THROW(writeIniValue(path, "S", "k", 2), FileError);
    EXPECT_EQ(TempDir::read(path), "[S]\r\nk=1\r\n\r\n[LastEntry]\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniFile, WriteThatCannotReplaceTheTargetLeavesNoTemporaryBehind) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("taken.ini/inside"));  // a folder stands where the file goes
    EXPECT_THROW(writeFileAtomically(dir.file("taken.ini"), "[S]\r\n"), FileError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.ini/inside")));
}

TEST(IniFile, ReadValueTakesTheFirstMatchAnywhereAndGives1000WhenMissing) {
    TempDir dir;
    const std::string path = dir.write("r.ini",
                                       "'k=comment\r\nREM k=rem\r\n[A]\r\nk=first\r\n\r\n[B]\r\nk=second\r\n"
                                       "e=\r\nx=a=b\r\nf=Wahr\r\n\r\n[LastEntry]\r\n");
    EXPECT_EQ(readIniValue(path, "k"), "first");
    EXPECT_EQ(readIniValue(path, "e"), "");
    EXPECT_EQ(readIniValue(path, "x"), "a=b");
    EXPECT_EQ(readIniValue(path, "f"), "Wahr");  // returned as it stands
    EXPECT_EQ(readIniValue(path, "K"), "1000");
    EXPECT_EQ(readIniValue(path, "missing"), "1000");
    EXPECT_EQ(readIniValue(dir.file("no such file.ini"), "k"), "1000");
}

TEST(IniFile, Windows1252FileIsReadAndKeepsItsEncodingWhenRewritten) {
    TempDir dir;
    // "Vec_Maßstab" and "360°60'60''" as an older program wrote them: one byte per character.
    const std::string path = dir.write("w.ini",
                                       "[LocalGraphics]\r\nVec_Ma\xDF"
                                       "stab=2\r\n\r\n[Units]\r\nUnitAngle=360\xB0"
                                       "60'60''\r\n\r\n[LastEntry]\r\n");
    EXPECT_EQ(readIniValue(path, "Vec_Maßstab"), "2");
    EXPECT_EQ(readIniValue(path, "UnitAngle"), "360°60'60''");
    writeIniValue(path, "Units", "UnitLength", "millimeter");
    EXPECT_EQ(TempDir::read(path),
              "[LocalGraphics]\r\nVec_Ma\xDF"
              "stab=2\r\n\r\n[Units]\r\nUnitAngle=360\xB0"
              "60'60''\r\nUnitLength=millimeter\r\n\r\n[LastEntry]\r\n");
    // A value Windows-1252 cannot hold turns the file into UTF-8 rather than losing it.
    writeIniValue(path, "RobCad", "Place", "Zelle → 3");
    const std::string bytes = TempDir::read(path);
    EXPECT_TRUE(isValidUtf8(bytes));
    EXPECT_EQ(readIniValue(path, "Place"), "Zelle → 3");
    EXPECT_EQ(readIniValue(path, "Vec_Maßstab"), "2");
}

}  // namespace
}  // namespace kal
