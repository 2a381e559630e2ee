#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "input/ReaderTestSupport.h"
#include "input/RobotFileReaders.h"
#include "shared/Errors.h"

namespace kal {
namespace {

using testing::Recorded;

constexpr double kDeg = 3.14159265358979 / 180;

struct Pose {
    double x, y, z, a, b, c;  // millimetres, degrees
};
const Pose kCell[] = {{799.75, -399.5, 300.125, 0, 0, 0},   {879.5, 350.75, 310, 90, 0, 0},
                      {219.625, 400.125, 295.5, 90, 0, 90}, {179.375, -350, 320.25, -45, 30, 170},
                      {549.5, 0.5, 850.75, 12.5, -20, 35},  {399.875, -199.75, 550.5, -135, 10, -60}};

using Parser = OcsPointSet (*)(std::string_view, const std::string&, const ReadOptions&);

struct Format {
    const char* file;
    Parser parse;
    bool named;       // names P1.. (ASCII layouts) or 1.. (controller files)
    double angleTol;  // radians: quaternions pass through the angle helpers' ten-digit pi
    bool ranges;
    std::vector<std::pair<const char*, std::function<std::string(const std::string&)>>> variants;
};

std::string lf(const std::string& s) { return testing::withLineEnds(s, "\n"); }
std::string bom(const std::string& s) { return "\xEF\xBB\xBF" + s; }
std::string asIs(const std::string& s) { return s; }

// Each example controller and angle file, in several spellings, reads to the same poses.
TEST(RobotFileReaders, ExampleFilesReadToExactCoordinatesAndAngles) {
    const Format formats[] = {
        {"cell-ocs.dat",
         parseKukaDatFile,
         false,
         1e-12,
         true,
         {{"CR LF", asIs},
          {"LF", lf},
          {"BOM", bom},
          {"extra blanks and # form",
           [](const std::string& s) {
               std::string t = testing::replaced(s, ',', " ,  ");
               t = testing::replaced(t, '{', "{ ");
               t = testing::replaced(t, '=', " = ");
               std::string out;
               for (std::size_t i = 0; i < t.size(); ++i)  // "DECL E6POS" -> "  DECL#E6POS"
                   out += (t.compare(i, 10, "DECL E6POS") == 0) ? (i += 9, "  DECL#E6POS")
                                                                : std::string(1, t[i]);
               return out;
           }}}},
        {"cell-ocs.modx",
         parseModxFile,
         false,
         1e-9,
         false,
         {{"CR LF", asIs},
          {"LF", lf},
          {"BOM", bom},
          {"extra blanks", [](const std::string& s) { return testing::replaced(s, ',', " , "); }}}},
        {"cell-ocs.ls",
         parseFanucLsFile,
         false,
         1e-12,
         false,
         {{"CR LF", asIs},
          {"LF", lf},
          {"BOM", bom},
          {"extra blanks", [](const std::string& s) { return testing::replaced(s, '=', "  =   "); }}}},
        {"cell-ocs-abc.txt",
         parseXyzAbcFile,
         true,
         1e-12,
         false,
         {{"CR LF", asIs},
          {"LF", lf},
          {"BOM", bom},
          {"comma delimiter", [](const std::string& s) { return testing::replaced(s, '\t', ","); }},
          {"doubled Tabs", [](const std::string& s) { return testing::replaced(s, '\t', "\t\t"); }}}},
        {"cell-ocs-quat.txt",
         parseQuaternionFile,
         true,
         1e-9,
         true,
         {{"CR LF", asIs},
          {"LF", lf},
          {"BOM", bom},
          {"comma delimiter", [](const std::string& s) { return testing::replaced(s, '\t', ","); }},
          {"doubled Tabs", [](const std::string& s) { return testing::replaced(s, '\t', "\t\t"); }}}},
    };
    for (const auto& f : formats) {
        const std::string bytes = testing::exampleBytes(f.file);
        ASSERT_FALSE(bytes.empty()) << f.file;
        // Controller files take "." whatever the system's separator is.
        const bool controller = !std::string(f.file).ends_with(".txt");
        for (const char system : controller ? std::string(".,") : std::string(".")) {
            for (const auto& [what, make] : f.variants) {
                SCOPED_TRACE(std::string(f.file) + ", " + what + ", system separator " + system);
                Recorded r;
                r.options.decimalSeparator = system;
                r.options.angleFactor = 1 / kDeg;  // degrees
                const auto set = f.parse(make(bytes), f.file, r.options);
                ASSERT_EQ(set.points.count(), 6);
                ASSERT_EQ(set.angles.rows(), 6);
                for (int i = 1; i <= 6; ++i) {
                    SCOPED_TRACE(i);
                    const auto& p = kCell[i - 1];
                    EXPECT_EQ(set.points.names[i], f.named ? "P" + std::to_string(i) : std::to_string(i));
                    EXPECT_EQ(set.points.x[i], p.x);
                    EXPECT_EQ(set.points.y[i], p.y);
                    EXPECT_EQ(set.points.z[i], p.z);
                    EXPECT_NEAR(set.angles(i, 1), p.a * kDeg, f.angleTol);
                    EXPECT_NEAR(set.angles(i, 2), p.b * kDeg, f.angleTol);
                    EXPECT_NEAR(set.angles(i, 3), p.c * kDeg, f.angleTol);
                }
                EXPECT_EQ(set.ranges.has_value(), f.ranges);
                EXPECT_TRUE(r.prompter.shown().empty()) << r.last();
            }
        }
    }
}

// Every format takes its lengths in the display length unit and its angles in the display angle
// unit; angles from quaternions are radians whatever the angle unit is.
TEST(RobotFileReaders, LengthsAndAnglesAreTakenInTheDisplayUnits) {
    const double h = 3.14159265358979 / 2;
    struct Case {
        const char* what;
        Parser parse;
        const char* text;
        double a, b, c;  // radians
    };
    const Case cases[] = {
        {"KUKA", parseKukaDatFile, "DECL E6POS P1={X 1,Y 2,Z -0.5,A 100,B 50,C -100,S 6,T 27}\n", h, h / 2,
         -h},
        {"FANUC", parseFanucLsFile,
         "/POS\nP[1]{\n   GP1:\n\tUF : 0, UT : 1,\n\tX = 1.000 mm, Y = 2.000 mm, Z = -0.500 mm,\n"
         "\tW = -100.000 deg, P = 50.000 deg, R = 100.000 deg\n};\n/END\n",
         h, h / 2, -h},
        {"x y z A B C", parseXyzAbcFile, "P1 1 2 -0.5 100 50 -100\n", h, h / 2, -h},
        {".modx", parseModxFile, "CONST robtarget p:=[[1,2,-0.5],[0.5,0.5,0.5,5E-01],[0,0,0,0]];\n", h, 0, h},
        {"quaternion", parseQuaternionFile, "P1 1 2 -0.5 0.5 0.5 0.5 0.5\n", h, 0, h},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        r.options.lengthFactor = 1 / 25.4;      // inches
        r.options.angleFactor = 200 / (2 * h);  // gon
        const auto set = c.parse(c.text, "a", r.options);
        ASSERT_EQ(set.points.count(), 1);
        EXPECT_DOUBLE_EQ(set.points.x[1], 25.4);
        EXPECT_DOUBLE_EQ(set.points.y[1], 50.8);
        EXPECT_DOUBLE_EQ(set.points.z[1], -12.7);
        EXPECT_NEAR(set.angles(1, 1), c.a, 1e-9);
        EXPECT_NEAR(set.angles(1, 2), c.b, 1e-9);
        EXPECT_NEAR(set.angles(1, 3), c.c, 1e-9);
    }
}

TEST(KukaDatReader, DeclarationInDegreesSpaceAndHashForms) {
    const char* lines[] = {
        "DECL E6POS XP1={X 100.5,Y -20.25,Z 300,A 90,B 0,C -90,S 6,T 27}",
        "DECL E6POS XP1={X 100.5,Y -20.25,Z 300,A 90,B 0,C -90, S 6,T 27}",
        "DECL#E6POS XP1={X#100.5,Y#-20.25,Z#300,A#90,B#0,C#-90,S#6,T#27}",
        "DECL E6POS XA ={X 100.5,Y -20.25,Z 300,A 90,B 0,C -90,S 6}",  // a name ending in A before a blank
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        Recorded r;
        r.options.angleFactor = 1 / kDeg;
        const auto set = parseKukaDatFile(
            std::string("DEFDAT X\n") + line + "\nDECL FDAT F={TOOL_NO 1}\nENDDAT", "a.dat", r.options);
        ASSERT_EQ(set.points.count(), 1);
        EXPECT_EQ(set.points.names[1], "1");
        EXPECT_EQ(set.points.x[1], 100.5);
        EXPECT_EQ(set.points.y[1], -20.25);
        EXPECT_EQ(set.points.z[1], 300);
        EXPECT_DOUBLE_EQ(set.angles(1, 1), 3.14159265358979 / 2);
        EXPECT_EQ(set.angles(1, 2), 0);
        EXPECT_DOUBLE_EQ(set.angles(1, 3), -3.14159265358979 / 2);
    }
}

TEST(KukaDatReader, AbcRangesAreTheSpreadOfEachAngle) {
    Recorded r;
    r.options.angleFactor = 1 / kDeg;
    const auto set = parseKukaDatFile(
        "DECL E6POS P1={X 0,Y 0,Z 0,A 10,B 5,C 0}\nDECL E6POS P2={X 0,Y 0,Z 0,A 40,B 5,C -1}\n"
        "DECL E6POS P3={X 1,Y 0,Z 0,A 25,B 5,C 0}",  // the last line has no line end
        "a.dat", r.options);
    ASSERT_EQ(set.points.count(), 3);
    ASSERT_TRUE(set.ranges);
    EXPECT_DOUBLE_EQ(set.ranges->range1, 3.14159265358979 / 6);
    EXPECT_EQ(set.ranges->range2, 0);
    EXPECT_DOUBLE_EQ(set.ranges->range3, kDeg);
}

TEST(QuaternionReader, QuaternionsGiveTheirAnglesAndAreNormalised) {
    struct Case {
        const char* q;
        double a, b, c;  // radians
    };
    const double h = 3.14159265358979 / 2;
    const Case cases[] = {{"1 0 0 0", 0, 0, 0},
                          {"2 0 0 0", 0, 0, 0},
                          {"0.5 0.5 0.5 0.5", h, 0, h},  // zero denominators in the angle formulas
                          {"1 1 1 1", h, 0, h}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.q);
        Recorded r;
        const auto set = parseQuaternionFile(std::string("P1 1 2 3 ") + c.q + "\n", "q.txt", r.options);
        EXPECT_NEAR(set.angles(1, 1), c.a, 1e-9);
        EXPECT_NEAR(set.angles(1, 2), c.b, 1e-9);
        EXPECT_NEAR(set.angles(1, 3), c.c, 1e-9);
    }
}

TEST(ModxReader, OnlyTheFirstBlockIsReadAfterTheBlockMessage) {
    Recorded r;
    const auto set = parseModxFile(
        "MODULE M\n  CONST robtarget a:=[[1,2,3],[1,0,0,0],[0,0,0,0]];\n  CONST robtarget "
        "b:=[[4,5,6],[1,0,0,0]];\n\n"
        "  CONST robtarget c:=[[7,8,9],[1,0,0,0]];\nENDMODULE\n",
        "m.modx", r.options);
    ASSERT_EQ(set.points.count(), 2);
    EXPECT_EQ(set.points.x[2], 4);
    EXPECT_EQ(r.prompter.texts(),
              std::vector<std::string>{"myabe there are more than one Block in the File - only importing the "
                                       "First block in file with 2 Points"});
}

TEST(XyzAbcReader, EmptyLinesAreSkipped) {
    Recorded r;
    const auto set = parseXyzAbcFile("P1 1 2 3 0 0 0\n\nP2 4 5 6 0 0 1\n", "a.txt", r.options);
    ASSERT_EQ(set.points.count(), 2);
    EXPECT_EQ(set.points.names[2], "P2");
    EXPECT_EQ(set.angles(2, 3), 1);
    EXPECT_FALSE(set.ranges);
}

// Every malformed file is refused with its row, and nothing of it is returned.
TEST(RobotFileReaders, MalformedFilesAreRefusedWithTheirRow) {
    struct Case {
        const char* what;
        Parser parse;
        std::string text;
        int line;
        std::string message;
    };
    const std::string fanucHead = "/PROG X\n/POS\nP[1]{\n   GP1:\n\tUF : 0, UT : 1,\n";
    const Case cases[] = {
        {"empty KUKA file", parseKukaDatFile, "", 0, "the file holds no position declaration \"DECL E6POS\""},
        {"KUKA declaration without closing brace", parseKukaDatFile,
         "DEFDAT A\nDECL E6POS P1={X 1,Y 2,Z 3,A 0,B 0,C 0,S 6\nENDDAT\n", 2,
         "In Row 2 the E6POS declaration has no closing brace \"}\""},
        {"KUKA declaration without C", parseKukaDatFile, "DECL E6POS P1={X 1,Y 2,Z 3,A 0,B 0}\n", 1,
         "has no component C"},
        {"KUKA decimal comma", parseKukaDatFile, "DECL E6POS P1={X 1,Y 2,Z 3,A 0,B 0,C 1,0}\n", 1,
         "the component \"0\" of the E6POS declaration is not a name and a value"},
        {"KUKA value no number", parseKukaDatFile, "DECL E6POS P1={X 1,Y 2,Z 3,A 0,B 0x,C 1}\n", 1,
         "the value of B \"0x\" is not a number"},
        // A position component without its value is refused, never read as 0.
        {"KUKA X without a value", parseKukaDatFile,
         "DECL E6POS P1={X 1,Y 2,Z 3,A 0,B 0,C 0}\nDECL E6POS P2={X ,Y 2,Z 3,A 0,B 0,C 0}\n", 2,
         "In Row 2 the component \"X\" of the E6POS declaration is not a name and a value"},
        {"KUKA decimal comma without digits before it", parseKukaDatFile,
         "DECL E6POS P1={X 1,Y ,5,Z 3,A 0,B 0,C 0}\n", 1,
         "the component \"Y\" of the E6POS declaration is not a name and a value"},
        {"KUKA Z with a hash and no value", parseKukaDatFile, "DECL E6POS P1={X 1,Y 2,Z#,A 0,B 0,C 0}\n", 1,
         "the component \"Z#\" of the E6POS declaration is not a name and a value"},
        {"empty modx", parseModxFile, "MODULE M\nENDMODULE\n", 0, "the file holds no robtarget"},
        {"broken robtarget", parseModxFile, "MODULE M\n CONST robtarget p:=[[1,2],[1,0,0,0]];\n", 2,
         "the robtarget has no position [x,y,z]"},
        {"robtarget without orientation", parseModxFile, "CONST robtarget p:=[[1,2,3]];\n", 1,
         "the robtarget has no \",\" after its position"},
        {"robtarget with a short quaternion", parseModxFile, "CONST robtarget p:=[[1,2,3],[1,0,0]];\n", 1,
         "has no orientation [q1,q2,q3,q4]"},
        {"zero quaternion (modx)", parseModxFile, "CONST robtarget p:=[[1,2,3],[0,0,0,0]];\n", 1,
         "the quaternion of point 1 has no length"},
        {"FANUC without /POS", parseFanucLsFile, "/PROG X\n/END\n", 0, "Error while importing FANUC Data"},
        {"FANUC position without units", parseFanucLsFile,
         fanucHead + "\tX = 1.0, Y = 2.0 mm, Z = 3.0 mm,\n\tW = 0 deg, P = 0 deg, R = 0 deg\n};\n/END\n", 6,
         "Error while importing FANUC Data\n\nFile: \na.ls\n\nIn Row 6 the component X of position 1 has no "
         "unit"},
        {"FANUC block without }", parseFanucLsFile,
         fanucHead + "\tX = 1.0 mm, Y = 2.0 mm, Z = 3.0 mm,\n\tW = 0 deg, P = 0 deg, R = 0 deg\n", 3,
         "the position 1 has no closing \"}\""},
        {"FANUC joint position", parseFanucLsFile, fanucHead + "\tJ1 = 1.0 deg, J2 = 2.0 deg\n};\n/END\n", 3,
         "has no component X"},
        {"FANUC letters", parseFanucLsFile,
         fanucHead + "\tX = 1.0 mm, Y = two mm, Z = 3.0 mm,\n\tW = 0 deg, P = 0 deg, R = 0 deg\n};\n/END\n",
         6, "the value of Y \"two\" is not a number"},
        {"x y z A B C short line", parseXyzAbcFile, "P1 1 2 3 4 5 6\nP2 1 2 3 4 5\n", 2,
         "In Row 2 the number of columns has changed"},
        {"x y z A B C missing angle", parseXyzAbcFile, "P1;1;2;3;4;;6\n", 1,
         "In Row 1 the column 6 is empty"},
        {"zero quaternion", parseQuaternionFile, "P1 1 2 3 1 0 0 0\nP2 1 2 3 0 0 0 0\n", 2,
         "the quaternion of point P2 has no length"},
        {"quaternion with three components", parseQuaternionFile, "P1 1 2 3 1 0 0\n", 1,
         "a name and 7 values are expected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Recorded r;
        try {
            c.parse(c.text, "a.ls", r.options);
            ADD_FAILURE() << "read without error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(r.last().find(c.message), std::string::npos) << r.last();
        }
    }
}

// Controller files as controllers and people write them: module headers, tool and work-object
// data first, commented-out targets, targets written into instructions, declarations without a
// value, groups separated by lines holding only blanks. Each file is read as written, with CR LF,
// with a byte-order mark and without its final line end: the same points and the same messages.
namespace fixtures {

const std::string kRobtargetTail = ",[0,0,0,0],[9E+09,9E+09,9E+09,9E+09,9E+09,9E+09]];";

// An ABB module: header lines and blank lines (zero-length and blank-only) before its first
// robtarget, "[[" in tool data, work-object data, a comment and a move instruction.
std::string abbModule(const std::string& afterBlock) {
    return "%%%\n"
           "  VERSION:1\n"
           "  LANGUAGE:ENGLISH\n"
           "%%%\n"
           "\n"
           "MODULE CellTargets\n"
           "    \n"
           "    PERS tooldata tGripper:=[TRUE,[[0,0,150],[1,0,0,0]],[2,[0,0,50],[1,0,0,0],0,0,0]];\n"
           "    TASK PERS wobjdata "
           "wobjTable:=[FALSE,TRUE,\"\",[[1000,0,500],[1,0,0,0]],[[0,0,0],[1,0,0,0]]];\n"
           "\n"
           "    !CONST robtarget pOld:=[[1,1,1],[1,0,0,0]" +
           kRobtargetTail +
           "\n"
           "    VAR robtarget pTemp;\n"
           "    CONST robtarget Target_10:=[[799.75,-399.5,300.125],[1,0,0,0]" +
           kRobtargetTail +
           "\n"
           "    LOCAL CONST robtarget Target_20 := "
           "[[879.5,350.75,310],[0.7071067811865476,0,0,0.7071067811865476]" +
           kRobtargetTail +
           "\n"
           "\t\n"
           "    ! approach\n"
           "    pers RobTarget Target_30:=[[219.625,400.125,295.5],[0.5,0.5,0.5,0.5]" +
           kRobtargetTail +
           "  ! from the teach pendant\n"
           "    TASK PERS robtarget Target_40:=[[549.5,0.5,850.75],[1,0,0,0]" +
           kRobtargetTail + "\n" + afterBlock +
           "    PROC main()\n"
           "        MoveJ [[100,100,100],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]], v100, fine, "
           "tGripper;\n"
           "        MoveL Target_10, v100, fine, tGripper\\WObj:=wobjTable;\n"
           "    ENDPROC\n"
           "ENDMODULE\n";
}

const std::string kKuka =
    "&ACCESS RVP\n"
    "&REL 1\n"
    "DEFDAT  CELL PUBLIC\n"
    ";FOLD EXTERNAL DECLARATIONS;%{PE}%MKUKATPBASIS,%CEXT,%VCOMMON,%P\n"
    "DECL E6POS XBUFFER[2,4]\n"
    "DECL E6POS XP_A, XP_B\n"
    ";ENDFOLD (EXTERNAL DECLARATIONS)\n"
    "\n"
    "DECL GLOBAL E6POS XP1={X 799.75,Y -399.5,Z 300.125,A 0,B 0,C 0,S 6,T 27,E1 0.0,E2 0.0}\n"
    "DECL FDAT FP1={TOOL_NO 1,BASE_NO 0,IPO_FRAME #BASE,POINT2[] \" \",TQ_STATE FALSE}\n"
    "DECL E6AXIS XHOME1={A1 0.0,A2 -90.0,A3 90.0,A4 0.0,A5 0.0,A6 0.0,E1 0.0}\n"
    ";DECL E6POS XOLD={X 1,Y 1,Z 1,A 0,B 0,C 0}\n"
    "   DECL E6POS XP2={X 879.5,Y 350.75,Z 310,A 90,B 0,C 0,S 6,T 27}\n"
    "ENDDAT\n";

const std::string kKukaAxesOnly =
    "DEFDAT  HOMES\n"
    "DECL E6AXIS XHOME1={A1 0.0,A2 -90.0,A3 90.0,A4 0.0,A5 0.0,A6 0.0,E1 0.0}\n"
    "DECL GLOBAL E6AXIS XHOME2={A1 10.0,A2 -90.0,A3 90.0,A4 0.0,A5 0.0,A6 0.0,E1 0.0}\n"
    "DECL E6POS XBUFFER[10]\n"
    "ENDDAT\n";

std::string fanucPosition(const std::string& label, const std::string& values) {
    return label + "{\n   GP1:\n\tUF : 0, UT : 1,\t\tCONFIG : 'N U T, 0, 0, 0',\n" + values + "};\n";
}
const std::string kCartesian1 =
    "\tX =   799.750  mm,\tY =  -399.500  mm,\tZ =   300.125  mm,\n"
    "\tW =     0.000 deg,\tP =     0.000 deg,\tR =     0.000 deg\n";
const std::string kCartesian2 =
    "\tX =   879.500  mm,\tY =   350.750  mm,\tZ =   310.000  mm,\n"
    "\tW =     0.000 deg,\tP =     0.000 deg,\tR =    90.000 deg\n";
const std::string kJoints =
    "\tJ1=    10.000 deg,\tJ2=   -20.000 deg,\tJ3=    30.000 deg,\n"
    "\tJ4=     0.000 deg,\tJ5=    45.000 deg,\tJ6=     0.000 deg\n";
const std::string kFanucHead =
    "/PROG  CELL\n/ATTR\nOWNER\t\t= MNEDITOR;\n/MN\n   1:J P[1] 100% FINE    ;\n   2:L P[2] 100mm/sec FINE   "
    " ;\n"
    "/POS\n";

}  // namespace fixtures

TEST(RobotFileReaders, ControllerFilesAsControllersWriteThem) {
    using namespace fixtures;
    const std::string block =
        "{shown}myabe there are more than one Block in the File - only importing the First block in file "
        "with "
        "4 Points";
    struct Case {
        const char* what;
        Parser parse;
        std::string text;
        std::vector<std::array<double, 3>> points;  // read in this order, named 1, 2, ...
        std::vector<std::string> expect;            // "{shown}" + a message shown, or parts of the refusal
        int refusedRow = -1;                        // -1: read
    };
    const std::vector<std::array<double, 3>> abbPoints{
        {799.75, -399.5, 300.125}, {879.5, 350.75, 310}, {219.625, 400.125, 295.5}, {549.5, 0.5, 850.75}};
    const Case cases[] = {
        {"an ABB module with header lines and blank lines before its first robtarget",
         parseModxFile,
         abbModule(""),
         abbPoints,
         {}},
        {"an ABB module whose targets are followed by a zero-length line and its routines",
         parseModxFile,
         abbModule("\n"),
         abbPoints,
         {}},
        {"an ABB module whose block is followed by a commented-out target",
         parseModxFile,
         abbModule("\n    !CONST robtarget pLater:=[[7,8,9],[1,0,0,0]" + kRobtargetTail + "\n"),
         abbPoints,
         {}},
        {"an ABB module with a second block of targets",
         parseModxFile,
         abbModule("\n    CONST robtarget Target_50:=[[7,8,9],[1,0,0,0]" + kRobtargetTail + "\n"),
         abbPoints,
         {block}},
        {"an ABB module with only declarations without a value",
         parseModxFile,
         "MODULE M\n    PERS tooldata t:=[TRUE,[[0,0,150],[1,0,0,0]],[2,[0,0,50],[1,0,0,0],0,0,0]];\n"
         "    VAR robtarget p1;\n    VAR robtarget p2;\nENDMODULE\n",
         {},
         {"the file holds no robtarget", "declares 2 robtargets without a value"},
         0},
        {"an ABB target that takes its value from another",
         parseModxFile,
         "MODULE M\n    CONST robtarget p1:=[[1,2,3],[1,0,0,0]" + kRobtargetTail +
             "\n    VAR robtarget p2 := p1;\n",
         {},
         {"In Row 3 the value of the robtarget p2 is not written as [[x,y,z],[q1,q2,q3,q4],...]"},
         3},
        {"a KUKA file with GLOBAL declarations, storage and axis positions",
         parseKukaDatFile,
         kKuka,
         {{799.75, -399.5, 300.125}, {879.5, 350.75, 310}},
         {}},
        {"a KUKA file holding only axis positions",
         parseKukaDatFile,
         kKukaAxesOnly,
         {},
         {"the file holds no position declaration \"DECL E6POS\" with a value",
          "it holds only 2 E6AXIS declarations with a value, 1 E6POS declaration without a value",
          "E6AXIS and AXIS are axis angles"},
         0},
        {"a FANUC program with a commented label",
         parseFanucLsFile,
         kFanucHead + fanucPosition("P[1]", kCartesian1) + fanucPosition("P[2:\"approach\"]", kCartesian2) +
             "/END\n",
         {{799.75, -399.5, 300.125}, {879.5, 350.75, 310}},
         {}},
        {"a FANUC program with a joint position",
         parseFanucLsFile,
         kFanucHead + fanucPosition("P[1]", kCartesian1) + fanucPosition("P[2]", kCartesian2) +
             fanucPosition("P[3]", kJoints) + "/END\n",
         {},
         {"Error while importing FANUC Data",
          "In Row 20 the position P[3] is a joint position (J1 = ...): it has no component X, Y, Z, W, P or "
          "R."},
         20},
    };
    const std::pair<const char*, std::function<std::string(const std::string&)>> spellings[] = {
        {"LF", asIs},
        {"CR LF", [](const std::string& s) { return testing::withLineEnds(s, "\r\n"); }},
        {"BOM and CR LF", [](const std::string& s) { return bom(testing::withLineEnds(s, "\r\n")); }},
        {"no final line end", [](const std::string& s) { return s.substr(0, s.size() - 1); }},
        {"BOM, CR LF, no final line end",
         [](const std::string& s) { return bom(testing::withLineEnds(s.substr(0, s.size() - 1), "\r\n")); }},
    };
    for (const auto& c : cases) {
        for (const auto& [spelling, spell] : spellings) {
            SCOPED_TRACE(std::string(c.what) + ", " + spelling);
            Recorded r;
            if (c.refusedRow >= 0) {
                try {
                    c.parse(spell(c.text), "cell", r.options);
                    ADD_FAILURE() << "read without error";
                } catch (const FileError& e) {
                    EXPECT_EQ(e.line(), c.refusedRow);
                    for (const auto& part : c.expect)
                        EXPECT_NE(r.last().find(part), std::string::npos) << r.last();
                }
                continue;
            }
            const auto set = c.parse(spell(c.text), "cell", r.options);
            ASSERT_EQ(set.points.count(), std::ssize(c.points));
            for (std::int32_t i = 1; i <= set.points.count(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(set.points.names[i], std::to_string(i));
                EXPECT_EQ(set.points.x[i], c.points[i - 1][0]);
                EXPECT_EQ(set.points.y[i], c.points[i - 1][1]);
                EXPECT_EQ(set.points.z[i], c.points[i - 1][2]);
            }
            std::vector<std::string> shown;
            for (const auto& e : c.expect) shown.push_back(e.substr(std::string("{shown}").size()));
            EXPECT_EQ(r.prompter.texts(), shown);
        }
    }
}

// The angles of controller-written targets: the ABB quaternion of Target_20 turns 90° about z,
// the KUKA GLOBAL declaration keeps its A, B, C.
TEST(RobotFileReaders, ControllerWrittenTargetsKeepTheirAngles) {
    Recorded r;
    r.options.angleFactor = 1 / kDeg;
    const auto abb = parseModxFile(fixtures::abbModule(""), "m.modx", r.options);
    ASSERT_EQ(abb.points.count(), 4);
    EXPECT_NEAR(abb.angles(2, 1), 90 * kDeg, 1e-9);
    EXPECT_NEAR(abb.angles(3, 1), 90 * kDeg, 1e-9);
    EXPECT_NEAR(abb.angles(3, 3), 90 * kDeg, 1e-9);
    const auto kuka = parseKukaDatFile(fixtures::kKuka, "c.dat", r.options);
    ASSERT_EQ(kuka.points.count(), 2);
    EXPECT_NEAR(kuka.angles(2, 1), 90 * kDeg, 1e-12);
    EXPECT_EQ(kuka.angles(1, 1), 0);
}

}  // namespace
}  // namespace kal
