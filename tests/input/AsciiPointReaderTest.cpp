#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "input/AsciiPointReader.h"
#include "input/PointFileIo.h"
#include "input/ReaderTestSupport.h"
#include "input/ShapeProfileReader.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

struct Point {
    const char* name;
    double x, y, z;
};
const Point kCellMcs[] = {{"P1", 100.5, 200.25, 50.125},  {"P2", 850.75, 120.5, 60},
                          {"P3", 900.125, 780.375, 45.5}, {"P4", 150, 820.625, 70.25},
                          {"P5", 500.5, 450.5, 600.75},   {"P6", 300.25, 600.125, 300.5}};
const Point kCellOcs[] = {{"P1", 799.75, -399.5, 300.125}, {"P2", 879.5, 350.75, 310},
                          {"P3", 219.625, 400.125, 295.5}, {"P4", 179.375, -350, 320.25},
                          {"P5", 549.5, 0.5, 850.75},      {"P6", 399.875, -199.75, 550.5}};

void expectPoints(const PointSet& set, const Point (&expected)[6], bool numbered = false) {
    ASSERT_EQ(set.count(), 6);
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(set.names[i], numbered ? std::to_string(i) : std::string(expected[i - 1].name));
        EXPECT_EQ(set.x[i], expected[i - 1].x);
        EXPECT_EQ(set.y[i], expected[i - 1].y);
        EXPECT_EQ(set.z[i], expected[i - 1].z);
    }
}

// Each example file in each variant reads to the same exact coordinates.
TEST(AsciiPointReader, ExampleFilesReadExactlyWithAnyLineEndsBomBlanksAndCommaDelimiter) {
    struct Variant {
        const char* what;
        std::string (*make)(const std::string&);
    };
    const Variant variants[] = {
        {"as written (CR LF)", [](const std::string& s) { return s; }},
        {"LF", [](const std::string& s) { return testing::withLineEnds(s, "\n"); }},
        {"CR", [](const std::string& s) { return testing::withLineEnds(s, "\r"); }},
        {"byte-order mark", [](const std::string& s) { return "\xEF\xBB\xBF" + s; }},
        // Blanks that do not outnumber the file's delimiter (the detection counts them too).
        {"blanks at the line starts and empty lines at the end",
         [](const std::string& s) { return "\t" + testing::withLineEnds(s, "\r\n\t") + "\r\n \r\n"; }},
        {"comma delimiter",
         [](const std::string& s) {
             return testing::replaced(testing::replaced(testing::replaced(s, '\t', ","), ';', ","), ' ', ",");
         }},
    };
    struct File {
        const char* name;
        const Point (&points)[6];
        char delimiter;
        bool numbered;
    };
    const File files[] = {{"cell-mcs.txt", kCellMcs, '\t', false},
                          {"cell-ocs.txt", kCellOcs, ';', false},
                          {"cell-mcs-xyz.txt", kCellMcs, ' ', true}};
    for (const auto& f : files) {
        const std::string bytes = testing::exampleBytes(f.name);
        ASSERT_FALSE(bytes.empty()) << f.name;
        for (const auto& v : variants) {
            SCOPED_TRACE(std::string(f.name) + ", " + v.what);
            Recorded r;
            const std::string text = v.make(bytes);
            const auto file = parseAsciiPointFile(text, f.name, r.options);
            expectPoints(file.points, f.points, f.numbered);
            EXPECT_EQ(file.hasNames, !f.numbered);
            EXPECT_EQ(file.delimiter, std::string(v.what) == "comma delimiter" ? ',' : f.delimiter);
            EXPECT_FALSE(file.rewrittenBytes);
        }
    }
}

TEST(AsciiPointReader, SemicolonFileWithFourColumns) {
    Recorded r;
    const auto file = parseAsciiPointFile("P1;1.5;2.5;3.5\r\nP2;4;5;6\r\n", "a.txt", r.options);
    EXPECT_EQ(file.delimiter, ';');
    EXPECT_TRUE(file.hasNames);
    ASSERT_EQ(file.points.count(), 2);
    EXPECT_EQ(file.points.names[2], "P2");
    EXPECT_EQ(file.points.x[1], 1.5);
    EXPECT_TRUE(r.prompter.shown().empty());
}

TEST(AsciiPointReader, CoordinatesAreDividedByTheLengthFactor) {
    Recorded r;
    r.options.lengthFactor = 1 / 25.4;  // inches
    const auto file = parseAsciiPointFile("P1 1 2 0.5\n", "a.txt", r.options);
    EXPECT_DOUBLE_EQ(file.points.x[1], 25.4);
    EXPECT_DOUBLE_EQ(file.points.z[1], 12.7);
}

TEST(AsciiPointReader, DelimiterCandidatesAndTies) {
    struct Case {
        const char* text;
        char system;
        std::optional<char> delimiter;
    };
    const Case cases[] = {
        {"a;b;c;d;e;f;g;h;i;j;k\tl\tm\tn\to", '.', ';'},  // 10 ";" and 4 Tabs
        {"P1\t1,5\t2,5\t3,5", '.', '\t'},                 // as many commas as Tabs: the earlier Tab
        {"P1\t1,5\t2,5\t3,5", ',', '\t'},
        {"1,2,3", ',', std::nullopt},  // the comma is no candidate under ","
        {"1,2,3", '.', ','},
        {"a b;c", '.', ' '},  // a tie goes to the space
        {"abc", '.', std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TextLines lines(c.text);
        EXPECT_EQ(findDelimiter(lines, c.system), c.delimiter);
    }
}

TEST(AsciiPointReader, ThreeColumnFileNamesPointsByOrdinalAndReportsEmptyRows) {
    Recorded r;
    const auto file = parseAsciiPointFile("1 2 3\n4 5 6\n7 8 9\n\n10 11 12\n\n\n", "/d/p.txt", r.options);
    EXPECT_FALSE(file.hasNames);
    ASSERT_EQ(file.points.count(), 4);
    EXPECT_EQ(file.points.names[4], "4");
    EXPECT_EQ(file.points.x[4], 10);
    // The three-column notice, then the empty row before the last point; the trailing ones are silent.
    ASSERT_EQ(r.prompter.texts().size(), 2u);
    EXPECT_EQ(r.prompter.texts()[0],
              "File: \n/d/p.txt\n\nFile has only 3 columns; they will be interpreted as x, y, z; Point "
              "Number will be "
              "Line Number of File!");
    EXPECT_EQ(r.prompter.texts()[1], "Empty Row in File \n/d/p.txt\n in line 4 will be ignored");
}

TEST(AsciiPointReader, NamesHoldingBlanksSurviveInTabAndSemicolonFiles) {
    Recorded r;
    auto file = parseAsciiPointFile("Left hole\t1\t2\t3\nRight hole\t4\t5\t6\n", "a.txt", r.options);
    EXPECT_EQ(file.points.names[1], "Left hole");
    file = parseAsciiPointFile("Left hole;1;2 ;3\n", "a.txt", r.options);
    EXPECT_EQ(file.points.names[1], "Left hole");
    EXPECT_EQ(file.points.z[1], 3);
}

TEST(AsciiPointReader, ClipboardRowsWithDoubledAndTrailingTabsRead) {
    Recorded r;
    const auto file =
        parseAsciiPointFile("P1\t\t1\t\t2\t\t3\t\r\nP2\t\t4\t\t5\t\t6\t\r\n", "clip.txt", r.options);
    ASSERT_EQ(file.points.count(), 2);
    EXPECT_EQ(file.points.names[2], "P2");
    EXPECT_EQ(file.points.z[2], 6);
}

TEST(AsciiPointReader, WindowsCodePageNamesAreDecodedToUtf8) {
    Recorded r;
    const auto file = parseAsciiPointFile(
        "M\xFC"
        "1;1;2;3\n",
        "a.txt", r.options);
    EXPECT_EQ(file.points.names[1],
              "M\xC3\xBC"
              "1");
}

// Every malformed input is refused: the message names the file and the row, and a FileError
// carries the same row.
TEST(AsciiPointReader, MalformedInputsAreRefusedWithTheirRow) {
    const std::string huge = "P1;1;2;" + std::string(70000, '3') + "\n";
    struct Case {
        const char* what;
        std::string text;
        int line;
        std::string message;  // a part of the message shown
    };
    const Case cases[] = {
        {"empty file", "", 0,
         "Couldn\xC2\xB4t find any delimiter in file: \n\n\n/d/a.txt\n\n\nallowed is ONLY: "},
        {"no delimiter", "P1\nP2\n", 0, "Couldn\xC2\xB4t find any delimiter"},
        {"only blanks", "   \n  \n", 0, "The file holds no point"},
        {"empty field", "P1;1;2;3\nP2;4;;6\n", 2, "In Row 2 the column 3 is empty"},
        {"letters in a coordinate", "P1;1;2;3\nP2;4;5x;6\n", 2, "In Row 2 the value \"5x\" is not a number"},
        {"short line (space, z missing)", "1 2 3 \n", 1,
         "In Row 1 there are only 3 columns; name, x, y and z are expected"},
        {"short line (two columns)", "P1;1\nP2;2\n", 1, "there are only 2 columns"},
        {"huge line", huge, 1, "In Row 1 the line is longer than 65536 characters"},
        {"binary garbage", std::string("\x00\x01\xFF\xFE;\x80\x81;\x02", 9), 1, "is not a number"},
        {"columns changed", "P1 1 2 3\nP2  4 5 6\n", 2,
         "In Row 2 the number of columns has changed relativ to the rows before\nPlease diagnose and fix"},
        // A line of one character is no empty row to the column check: it is counted and fails.
        {"one-character line between points", "P1;1;2;3\n5\nP2;4;5;6\n", 2,
         "In Row 2 the number of columns has changed relativ to the rows before"},
        {"one-character line after the points", "P1;1;2;3\nP2;4;5;6\nx\n", 3,
         "In Row 3 the number of columns has changed relativ to the rows before"},
        {"too many separators", "P1 1.000.5 2.5 3.5\n", 1,
         "To much DecimalDelimiter in Row 1. Please check and fix"},
        {"both separators", "P1;1.5;2;3\nP2;1,5;2;3\n", 0,
         "Found both possible DecimalDelimiters \".\" and \",\" in \n\n/d/a.txt\n\nOnly \".\" OR \",\" are "
         "allowed!"},
        {"infinite value", "P1;1e999;2;3\n", 1, "is not a number"},
        {"not-a-number text", "P1;nan;2;3\n", 1, "\"nan\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        try {
            parseAsciiPointFile(c.text, "/d/a.txt", r.options);
            ADD_FAILURE() << "read without error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_EQ(e.path(), "/d/a.txt");
            EXPECT_NE(r.last().find(c.message), std::string::npos) << r.last();
            EXPECT_NE(r.last().find("/d/a.txt"), std::string::npos);
        }
    }
}

TEST(AsciiPointReader, DecimalCommaFileOnPointSystemIsRewrittenWhenTheUserAgrees) {
    Recorded r;
    r.prompter.answer(platform::Answer::Yes);
    const std::string text = "P1;1,5;2,5;3,5\nP,2;4;5;6\n";
    const auto file = parseAsciiPointFile(text, "/d/a.txt", r.options);
    ASSERT_EQ(r.prompter.shown().size(), 1u);
    const auto& q = r.prompter.shown()[0];
    EXPECT_EQ(q.title, "Country Settings; issue with . and ,");
    EXPECT_EQ(q.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(
        q.text,
        "File: \n/d/a.txt\n\nYour Decimal Delimiter is different to your settings in your operating system, "
        "which is \".\"\n\nShould I change the , in your File to . ?");
    ASSERT_TRUE(file.rewrittenBytes);
    EXPECT_EQ(*file.rewrittenBytes, "P1;1.5;2.5;3.5\r\nP.2;4;5;6\r\n");  // names too, lines ended by CR LF
    EXPECT_EQ(file.points.x[1], 1.5);
    EXPECT_EQ(file.points.names[2], "P.2");
}

TEST(AsciiPointReader, DecimalQuestionAnsweredNoRefusesTheFile) {
    Recorded r;
    r.prompter.answer(platform::Answer::No);
    EXPECT_THROW(parseAsciiPointFile("P1;1,5;2;3\n", "a.txt", r.options), FileError);
}

TEST(AsciiPointReader, PointFileOnCommaSystemReadsAfterRewriteToComma) {
    Recorded r;
    r.options.decimalSeparator = ',';
    r.prompter.answer(platform::Answer::Yes);
    const auto file = parseAsciiPointFile("P1\t1.25\t2\t3\n", "a.txt", r.options);
    EXPECT_EQ(file.points.x[1], 1.25);
    EXPECT_EQ(*file.rewrittenBytes, "P1\t1,25\t2\t3\r\n");
}

class AsciiPointFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kal-ascii-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& bytes) {
        const auto p = (dir_ / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::filesystem::path dir_;
};

TEST_F(AsciiPointFileOnDisk, AcceptedRewriteReplacesTheFileAndKeepsTheOriginalAsBackup) {
    const std::string original = "P1;1,5;2;3\nP2;4;5;6,25\n";
    const auto path = write("a.txt", original);
    write("a.txt.$", "older backup");
    Recorded r;
    r.prompter.answer(platform::Answer::Yes);
    const auto file = readAsciiPointFile(path, r.options);
    EXPECT_EQ(file.points.z[2], 6.25);
    EXPECT_EQ(readFileBytes(path), "P1;1.5;2;3\r\nP2;4;5;6.25\r\n");
    EXPECT_EQ(readFileBytes(path + ".$.$"), original);  // the older backup is kept as well
    EXPECT_EQ(readFileBytes(path + ".$"), "older backup");
}

TEST_F(AsciiPointFileOnDisk, RewriteIsNotWrittenWhenTheRewrittenFileDoesNotRead) {
    const std::string original = "P1;1,5;2;3\nP2;4;x;6\n";
    const auto path = write("a.txt", original);
    Recorded r;
    r.prompter.answer(platform::Answer::Yes);
    EXPECT_THROW(readAsciiPointFile(path, r.options), FileError);
    EXPECT_EQ(readFileBytes(path), original);
    EXPECT_FALSE(std::filesystem::exists(path + ".$"));
}

TEST_F(AsciiPointFileOnDisk, RewriteIsNotWrittenWhenItsPointsHoldADoubleName) {
    // "A.1" and "A,1" become one name once the commas turn into points.
    const std::string original = "A.1;1,5;2;3\nA,1;4;5;6,25\n";
    const auto path = write("a.txt", original);
    Recorded r;
    r.prompter.answer(platform::Answer::Yes);
    const auto file = readAsciiPointFile(path, r.options);
    EXPECT_EQ(file.points.names[2], "A.1");
    EXPECT_EQ(readFileBytes(path), original);
    EXPECT_FALSE(std::filesystem::exists(path + ".$"));
}

TEST_F(AsciiPointFileOnDisk, MissingFileIsAFileError) {
    Recorded r;
    EXPECT_THROW(readAsciiPointFile((dir_ / "none.txt").string(), r.options), FileError);
}

TEST_F(AsciiPointFileOnDisk, MissingFilesOfPointsAndProfileSayNotFound) {
    const auto path = (dir_ / "none.txt").string();
    for (int profile = 0; profile < 2; ++profile) {
        Recorded r;
        EXPECT_THROW(
            profile ? (void)readShapeProfileFile(path, r.options) : (void)readAsciiPointFile(path, r.options),
            FileError);
        EXPECT_EQ(r.prompter.texts(), std::vector<std::string>{"File " + path + " not found"});
    }
}

}  // namespace
}  // namespace kal
