// The exact bytes of the job file's later items: the paraboloid profile, a saved view with every
// kind of field (flags, flag layouts, view angles, hiding-plane matrix, lines) and the robot
// angles. The expected bytes are spelt out field by field from the documented layout, so a
// misreading shared by writer and reader shows here, where a round trip cannot see it.
#include <gtest/gtest.h>

#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "support/ByteBuilder.h"

namespace kal {
namespace {

using testing::ByteBuilder;

// Items 1 to 11 of a job without points, texts or switches.
void emptyJobUpToItem11(ByteBuilder& b) {
    b.counted("2.0.63");
    for (int set = 0; set < 3; ++set) {
        b.i32(0).element("");  // names 0..0
        b.i32(0).empty();      // x
        b.i32(0).empty();      // y
        b.i32(0).f64(0);       // z
    }
    b.i32(0).i32(0).i32(0);                       // counts
    b.i32(0).i16(0);                              // use flags 0..0
    for (int k = 0; k <= 17; ++k) b.element("");  // parameter states
    b.boolean(false).boolean(false);              // direction, AutoRecalc
    for (int k = 1; k <= 14; ++k) b.f64(0);       // parameter block
    b.counted("").counted("").i16(0).i16(0).i16(0);
    for (int k = 0; k < 4; ++k) b.element("");
    for (int k = 0; k < 4; ++k) b.i16(0);
    for (int k = 0; k < 4; ++k) b.counted("");
    for (int k = 0; k < 4; ++k) b.boolean(false);  // view filters
}

void offsetVectorItem(ByteBuilder& b) { b.counted("Kalvoreth offset vector").f64(0).f64(0).f64(0); }

// A record whose fields are all 0, empty or never sized: 260 bytes of fixed fields, two empty
// texts, four arrays without dimensions.
void emptyRecord(ByteBuilder& b) {
    b.boolean(false).i16(0).boolean(false);           // 1-3
    b.f32(0).f32(0).f32(0).f32(0);                    // 4-7
    b.i16(0);                                         // 8
    b.i16(0);                                         // 9 view angles: no dimensions
    b.i16(0);                                         // 10
    b.i16(0);                                         // 11 flags of the points: no dimensions
    b.i16(0);                                         // 12 flag layouts: no dimensions
    b.i16(0).i16(0).i16(0).i16(0).i16(0);             // 13-17
    b.boolean(false).f64(0).f64(0);                   // 18-20
    b.boolean(false).boolean(false).boolean(false);   // 21-23
    b.element("").boolean(false).i32(0).element("");  // 24-27
    for (int k = 0; k < 4; ++k) b.boolean(false);     // 28-31
    b.f32(0).f32(0).f64(0).f64(0);                    // 32-35
    for (int k = 0; k < 16; ++k) b.f64(0);            // 36
    b.f32(0);                                         // 37
    b.boolean(false).boolean(false).boolean(false);   // 38-40
    b.i32(0).i32(0).i32(0).boolean(false);            // 41-44
    b.i16(0);                                         // 45 lines: no dimensions
    b.i32(0).boolean(false).i32(0);                   // 46-48
}

FahneRecord flagLayout() {
    FahneRecord f;
    f.ShowPointNumber = true;
    f.showZ = true;
    f.WithinScreen = true;
    f.Left = 100;
    f.Top = -20;
    f.Bold = true;
    f.Charset = 2;
    f.Name = "Arial";
    f.Size = 8.25f;
    f.Underline = true;
    f.Weight = 700.0f;
    f.Forecolor = 0x00FF80;
    return f;
}

void flagLayoutBytes(ByteBuilder& b) {
    // 21 switches: ShowPointNumber (1) and showZ (7) and WithinScreen (21) set
    for (int k = 1; k <= 21; ++k) b.boolean(k == 1 || k == 7 || k == 21);
    b.i16(100).i16(-20);             // Left, Top
    b.boolean(true).i16(2);          // Bold, Charset
    b.boolean(false);                // Italic
    b.element("Arial").f32(8.25f);   // Name, Size
    b.boolean(false).boolean(true);  // Strikethrough, Underline
    b.f32(700.0f).i32(0x00FF80);     // Weight, Forecolor
}

void emptyFlagLayoutBytes(ByteBuilder& b) {
    for (int k = 1; k <= 21; ++k) b.boolean(false);
    b.i16(0).i16(0).boolean(false).i16(0).boolean(false).element("").f32(0);
    b.boolean(false).boolean(false).f32(0).i32(0);
}

ScreenProperties fullView() {
    ScreenProperties v;
    v.VectorMode = true;
    v.BigNess = 3;
    v.Massstab = 1.5f;
    v.OffsetX = 2.25f;
    v.OffsetY = -4.5f;
    v.Vec_Massstab = 100.0f;
    v.GridLength = 12;
    v.ViewAngles.resize(2, 3);
    v.ViewAngles(1, 1) = 0.5;
    v.ViewAngles(1, 2) = -0.25;
    v.ViewAngles(1, 3) = 3.0;
    v.ViewAngles(2, 1) = 7.0;
    v.FahneAnzahl = 1;
    v.FlagOfPoint.resize(3);
    v.FlagOfPoint.set(2, 1);
    v.FahneProps.resize(2);
    v.FahneProps[1] = flagLayout();
    v.CurrentFahne = 1;
    v.WindowWidth = 16515;
    v.WindowHeight = 11700;
    v.AnzKlassenPos = 3;
    v.AnzKlassenNeg = 2;
    v.AusserhalbTol = true;
    v.Min = -0.05;
    v.Max = 0.05;
    v.showVeX = true;
    v.showVeZ = true;
    v.ColorBased = "x";
    v.ShowOnlyUsedComponent = true;
    v.OuterColor = 0xFF;
    v.CS_Type = "CART";
    v.BlackPlane = true;
    v.BlackInitial = true;
    v.BlackOffX = 1.25f;
    v.BlackOffY = -2.5f;
    v.BlackM = 3.5;
    v.BlackThick = 0.75;
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) v.PlaneMatrix(i, j) = 10.0 * i + j;
    v.BlackZ = 9.5f;
    v.GridXY = true;
    v.GridZX = true;
    v.ADis = 10;
    v.BDis = 20;
    v.Cdis = 30;
    v.ShowGridDim = true;
    v.Lines.resize(2, 2);  // segment 1: row 1 to row 2, segment 2: row 2 to row 3
    v.Lines(1, 1) = 1;
    v.Lines(2, 1) = 2;
    v.Lines(1, 2) = 2;
    v.Lines(2, 2) = 3;
    v.LineStartPoint = 3;
    v.LineMode = true;
    v.LineCount = 2;
    return v;
}

void fullViewBytes(ByteBuilder& b) {
    b.boolean(true).i16(3).boolean(false);          // 1-3
    b.f32(1.5f).f32(2.25f).f32(-4.5f).f32(100.0f);  // 4-7
    b.i16(12);                                      // 8
    b.i16(2).i32(3).i32(0).i32(4).i32(0);           // 9: 0..2 by 0..3, first dimension first
    for (double v : {0.0, 0.0, 0.0,                 // column 0, first index fastest
                     0.0, 0.5, 7.0,                 // column 1
                     0.0, -0.25, 0.0,               // column 2
                     0.0, 3.0, 0.0})                // column 3
        b.f64(v);
    b.i16(1);                                            // 10
    b.i16(1).i32(4).i32(0).i16(0).i16(0).i16(1).i16(0);  // 11: rows 0..3, row 2 has flag 1
    b.i16(1).i32(2).i32(0);                              // 12: layouts 0..1
    emptyFlagLayoutBytes(b);
    flagLayoutBytes(b);
    b.i16(1).i16(16515).i16(11700).i16(3).i16(2);                 // 13-17
    b.boolean(true).f64(-0.05).f64(0.05);                         // 18-20
    b.boolean(true).boolean(false).boolean(true);                 // 21-23
    b.element("x").boolean(true).i32(0xFF).element("CART");       // 24-27
    b.boolean(false).boolean(true).boolean(false).boolean(true);  // 28-31
    b.f32(1.25f).f32(-2.5f).f64(3.5).f64(0.75);                   // 32-35
    for (int j = 0; j <= 3; ++j)                                  // 36: first index fastest
        for (int i = 0; i <= 3; ++i) b.f64(10.0 * i + j);
    b.f32(9.5f);                                   // 37
    b.boolean(true).boolean(false).boolean(true);  // 38-40
    b.i32(10).i32(20).i32(30).boolean(true);       // 41-44
    b.i16(2).i32(3).i32(0).i32(3).i32(0);          // 45: 0..2 by 0..2
    for (int v : {0, 0, 0, 0, 1, 2, 0, 2, 3}) b.i16(static_cast<std::int16_t>(v));
    b.i32(3).boolean(true).i32(2);  // 46-48
}

TEST(JobFileItemBytes, EmptyRecordTakes272Bytes) {
    ByteBuilder b;
    emptyRecord(b);
    EXPECT_EQ(b.size(), 272u);
}

TEST(JobFileItemBytes, ProfileSavedViewAndRobotAnglesHaveTheExactBytesOfTheLayout) {
    JobState job;
    job.ParaboloidMode = true;
    job.ShapeProfile.resize(1, 2);
    job.ShapeProfile(1, 1) = 10.0;
    job.ShapeProfile(1, 2) = 0.5;
    job.SavedViewNames = {"Front"};
    job.ViewCount = 1;
    job.SavedViews[1] = fullView();
    job.KukaOcsMode = true;
    job.OcsAngles.resize(1, 3);
    job.OcsAngles(1, 1) = 0.1;
    job.OcsAngles(1, 2) = 0.2;
    job.OcsAngles(1, 3) = 0.3;

    ByteBuilder b;
    emptyJobUpToItem11(b);
    // 12: switch, upper bound 1, then (0,0) (1,0) (0,1) (1,1) (0,2) (1,2)
    b.boolean(true).i32(1).f64(0).f64(0).f64(0).f64(10.0).f64(0).f64(0.5);
    // 13: count, names 0..0, then the 51 records
    b.i16(1).i32(0).element("Front");
    emptyRecord(b);
    fullViewBytes(b);
    for (int k = 2; k <= 50; ++k) emptyRecord(b);
    // 14: switches, angles 0..1 by 0..3 first index fastest, offset vectors 0..0
    b.boolean(true).boolean(false);
    b.i32(1).f64(0).f64(0).f64(0).f64(0.1).f64(0).f64(0.2).f64(0).f64(0.3);
    b.i32(0).empty().i32(0).empty().i32(0).f64(0);
    offsetVectorItem(b);

    JobFileWriteNotes notes;
    EXPECT_EQ(writeJobFile(job, notes), b.str());

    auto read = readJobFile(b.str(), probeJobFileHeader(b.str()));
    EXPECT_EQ(read.job.ShapeProfile, job.ShapeProfile);
    EXPECT_EQ(read.job.SavedViewNames, job.SavedViewNames);
    EXPECT_EQ(read.job.SavedViews[1], fullView());
    EXPECT_EQ(read.job.SavedViews[0], ScreenProperties());
    EXPECT_EQ(read.job.OcsAngles, job.OcsAngles);
    EXPECT_TRUE(read.job.KukaOcsMode);
    EXPECT_FALSE(read.job.QuatOcsMode);
}

}  // namespace
}  // namespace kal
