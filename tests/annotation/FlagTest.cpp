// Flags: what a flag shows, the bookkeeping of a window's flags, the automatic layout and the
// editor's rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "annotation/FlagContent.h"
#include "annotation/FlagEditorModel.h"
#include "annotation/FlagLayout.h"
#include "annotation/WindowFlags.h"
#include "shared/Units.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/FakeTextMetrics.h"

namespace kal {
namespace {

constexpr double kDeg = 3.14159265358979 / 180.0;

JobState unitsJob(std::int32_t identicalCount) {
    JobState job;
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    job.DigitLength = 3;
    job.DigitAngle = 3;
    applyUnitSettings(job);
    job.IdenticalCount = identicalCount;
    job.UseFlags.assign(static_cast<std::size_t>(3 * identicalCount + 1), 1);
    job.UseFlags[0] = 0;
    return job;
}

// Row r at (x, y, z) with deviation (dx, dy, dz), shown and visible.
void setRow(PointCloud& cloud, std::int32_t r, const std::string& name, double x, double y, double z,
            double dx = 0, double dy = 0, double dz = 0) {
    cloud.name(r) = name;
    cloud(r, cloud::X) = static_cast<float>(x);
    cloud(r, cloud::Y) = static_cast<float>(y);
    cloud(r, cloud::Z) = static_cast<float>(z);
    cloud(r, cloud::DeviationX) = static_cast<float>(dx);
    cloud(r, cloud::DeviationY) = static_cast<float>(dy);
    cloud(r, cloud::DeviationZ) = static_cast<float>(dz);
    cloud(r, cloud::Shown) = 1;
    cloud(r, cloud::Visible) = 1;
}

FahneRecord fullLayout() {
    FahneRecord r;
    r.ShowActual = r.ShowNominal = r.ShowDev = r.ShowUseNotUse = true;
    r.showX = r.showY = r.showZ = r.showR = r.showPhi = r.showRho = r.showTheta = r.show3D = true;
    r.ShowLegendeXYZ = r.ShowLegendeName = r.ShowGrid = true;
    return r;
}

const FlagCell& cell(const FlagTable& t, int r, int c) {
    return t.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
}

TEST(FlagContent, PointWithoutPartnerShowsItsCoordinatesTwiceAndNoUseMarks) {
    JobState job = unitsJob(1);
    PointCloud cloud;
    cloud.reset(3);
    setRow(cloud, 1, "P1", 1, 2, 3, 0.1, 0.2, 0.3);
    setRow(cloud, 2, "P1", 0.9, 1.8, 2.7);
    setRow(cloud, 3, "Only", 10, 20, 30);
    FakeTextMetrics metrics;
    FlagTable table;
    // A flag that labelled an identical point before keeps none of its marks.
    fillFlag(table, fullLayout(), 1, cloud, job, "", metrics);
    EXPECT_EQ(cell(table, 4, 2).text, "X");
    fillFlag(table, fullLayout(), 3, cloud, job, "", metrics);
    EXPECT_EQ(cell(table, 0, 0).text, "Only");
    EXPECT_EQ(cell(table, 1, 1).text, "10.000");
    EXPECT_EQ(cell(table, 2, 1).text, "10.000");
    EXPECT_EQ(cell(table, 3, 1).text, "0.000");
    EXPECT_EQ(cell(table, 3, 8).text, "0.000");
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(cell(table, 4, k).text, "") << k;
}

TEST(FlagContent, DeviationCellsSignsAndAngles) {
    JobState job = unitsJob(1);
    PointCloud cloud;
    cloud.reset(2);
    // Actual at azimuth 179°, nominal at -179°: the azimuth deviation is -2°.
    const double ax = 100 * std::cos(179 * kDeg), ay = 100 * std::sin(179 * kDeg);
    const double nx = 100 * std::cos(-179 * kDeg), ny = 100 * std::sin(-179 * kDeg);
    setRow(cloud, 1, "P", ax, ay, 0, ax - nx, ay - ny, 0);
    FakeTextMetrics metrics;
    FlagTable table;
    fillFlag(table, fullLayout(), 1, cloud, job, "", metrics);
    EXPECT_EQ(cell(table, 3, 5).text, "-2.000");

    // Coloured by x and dx exactly 0: the spatial deviation shows 0 whatever dy and dz are.
    setRow(cloud, 2, "Q", 5, 5, 5, 0, 3, 4);
    fillFlag(table, fullLayout(), 2, cloud, job, "x", metrics);
    EXPECT_EQ(cell(table, 3, 8).text, "0.000");
    fillFlag(table, fullLayout(), 2, cloud, job, "", metrics);
    EXPECT_EQ(cell(table, 3, 8).text, "5.000");

    // Q values change only the deviation row.
    job.PhiThetaAsQ = true;
    fillFlag(table, fullLayout(), 1, cloud, job, "", metrics);
    EXPECT_EQ(cell(table, 3, 5).text.rfind("Q = ", 0), 0u);
    EXPECT_EQ(cell(table, 1, 5).text, "179.000");
}

// Worked by hand: the actual point (6, 8, 2) with the deviation (3, -4, 2) has its nominal point at
// (3, 12, 0): radii 10 and √153 (the actual point lies further in: negative), sphere radii √104
// and √153, spatial deviation √29. The use marks stand in x, y, z order (x and y used here).
TEST(FlagContent, NominalIsActualMinusDeviationAndRadialDeviationsKeepTheirSign) {
    JobState job = unitsJob(1);
    job.UseFlags = {0, 1, 1, 0};
    PointCloud cloud;
    cloud.reset(2);
    setRow(cloud, 1, "P1", 6, 8, 2, 3, -4, 2);
    FakeTextMetrics metrics;
    FlagTable table;
    fillFlag(table, fullLayout(), 1, cloud, job, "", metrics);
    auto row = [&](int r) {
        std::vector<std::string> texts;
        for (int c = 1; c <= 8; ++c) texts.push_back(cell(table, r, c).text);
        return texts;
    };
    EXPECT_EQ(row(2)[0] + "|" + row(2)[1] + "|" + row(2)[2], "3.000|12.000|0.000");
    EXPECT_EQ(row(3)[0] + "|" + row(3)[1] + "|" + row(3)[2], "3.000|-4.000|2.000");
    EXPECT_EQ(row(1)[3], "10.000");
    EXPECT_EQ(row(2)[3], "12.369");  // √153
    EXPECT_EQ(row(3)[3], "-2.369");  // 10 − √153
    EXPECT_EQ(row(3)[5], "-2.171");  // √104 − √153
    EXPECT_EQ(row(3)[7], "5.385");   // √29
    EXPECT_EQ(cell(table, 4, 1).text + "|" + cell(table, 4, 2).text + "|" + cell(table, 4, 3).text, "X|X|");
    // Coloured by a component, the spatial deviation takes that component's sign.
    fillFlag(table, fullLayout(), 1, cloud, job, "y", metrics);
    EXPECT_EQ(cell(table, 3, 8).text, "-5.385");
    fillFlag(table, fullLayout(), 1, cloud, job, "z", metrics);
    EXPECT_EQ(cell(table, 3, 8).text, "5.385");
}

TEST(FlagContent, HiddenRowsAndColumnsTakeNoRoomAndTheToleranceColourFillsTheBackground) {
    JobState job = unitsJob(1);
    PointCloud cloud;
    cloud.reset(2);
    setRow(cloud, 1, "Name", 1, 2, 3, 0.5, 0, 0);
    cloud(1, cloud::Colour) = static_cast<float>(storedColour(255, 155, 0));
    FakeTextMetrics metrics;
    FlagTable table;
    FahneRecord onlyName;
    onlyName.ShowPointNumber = true;
    fillFlag(table, onlyName, 1, cloud, job, "", metrics);
    EXPECT_GT(table.columnWidth[0], 0);
    EXPECT_GT(table.rowHeight[0], 0);
    for (int c = 1; c < kFlagColumns; ++c) EXPECT_EQ(table.columnWidth[static_cast<std::size_t>(c)], 0) << c;
    for (int r = 1; r < kFlagRows; ++r) EXPECT_EQ(table.rowHeight[static_cast<std::size_t>(r)], 0) << r;
    EXPECT_EQ(table.width, table.columnWidth[0]);
    EXPECT_EQ(table.height, table.rowHeight[0]);

    FahneRecord coloured = fullLayout();
    coloured.ShowTolCol = true;
    job.UseFlags[2] = 0;  // y not used: yellow, x used: white
    fillFlag(table, coloured, 1, cloud, job, "", metrics);
    EXPECT_EQ(table.background, storedColour(255, 155, 0));
    EXPECT_EQ(cell(table, 4, 1).background, storedColour(255, 255, 255));
    EXPECT_EQ(cell(table, 4, 2).background, storedColour(255, 255, 0));
    EXPECT_EQ(cell(table, 4, 2).text, "");
}

struct FlagWindow {
    JobState job = unitsJob(6);
    PointCloud cloud;
    ScreenProperties view;
    ScreenProperties defaultView;
    FlagBoxes boxes;
    FakeTextMetrics metrics;

    FlagWindow() {
        cloud.reset(14);
        for (int r = 1; r <= 14; ++r)
            setRow(cloud, r, "P" + std::to_string(r > 6 && r <= 12 ? r - 6 : r), r, r, r);
        view.FahneProps.resize(1);
        view.GridLength = 10;
    }
    FlagSources sources() const { return {cloud, job, metrics}; }
    std::int16_t create(std::int32_t row, float x = 100, float y = 100) {
        FlagCreation at;
        at.row = row;
        at.mouseX = x;
        at.mouseY = y;
        at.pointX = x;
        at.pointY = y;
        at.surfaceWidth = 800;
        at.surfaceHeight = 600;
        at.rowVisible = true;
        at.withinScreen = true;
        return createFlag(view, boxes, defaultView, at, sources());
    }
};

TEST(WindowFlags, EveryCellIsDrawnInTheFlagsFontAndItsOwnAlignment) {
    FlagWindow w;
    ASSERT_EQ(w.create(1), 1);
    FahneRecord& layout = w.view.FahneProps[1];
    layout = fullLayout();
    layout.Size = 24;  // "&Fonts": 24 pt italic
    layout.Italic = true;
    fillFlag(w.boxes[1].table, layout, 1, w.cloud, w.job, "", w.metrics);
    DisplayList list;
    appendFlagPrimitives(list, w.boxes[1]);
    std::map<std::string, TextLabel> byText;
    for (const Primitive& p : list.items)
        if (const auto* t = std::get_if<TextLabel>(&p)) byText.emplace(t->text, *t);
    ASSERT_TRUE(byText.contains("Actual") && byText.contains("Phi") && byText.contains("3D Dev."));
    for (const auto& [text, label] : byText) {
        EXPECT_EQ(label.font.size, 24) << text;
        EXPECT_TRUE(label.font.italic) << text;
        EXPECT_GT(label.cellWidth, 0) << text;
    }
    EXPECT_TRUE(byText["Phi"].font.bold);
    EXPECT_FALSE(byText["x"].font.bold);
    EXPECT_EQ(byText["x"].align, TextAlign::CentreTop);
    EXPECT_EQ(byText["Actual"].align, TextAlign::LeftCentre);
    EXPECT_EQ(byText["P1"].align, TextAlign::LeftCentre);      // a name: the general rule, left
    EXPECT_EQ(byText["1.000"].align, TextAlign::RightTop);     // actual x: right, at the top
    EXPECT_EQ(byText["1.732"].align, TextAlign::RightCentre);  // actual Rho: a number, right

    // Worked by hand: the 24 pt fake font is 24 px a character; "x" is centred in its cell and
    // the actual x ends two pixels inside the right edge of its cell.
    const TextLabel& x = byText["x"];
    const PixelPoint xAt = textOrigin(x, 24, 48);
    EXPECT_FLOAT_EQ(xAt.x, x.at.x + (x.cellWidth - 24) / 2.0f);
    EXPECT_FLOAT_EQ(xAt.y, x.at.y + 1);
    const TextLabel& value = byText["1.000"];
    EXPECT_FLOAT_EQ(textOrigin(value, 5 * 24, 48).x, value.at.x + value.cellWidth - 2 - 5 * 24);
}

TEST(WindowFlags, LayoutCellsHoldTheWidestFlagOfTheRunNotJustTheCurrentOne) {
    FlagWindow w;
    w.cloud.name(3) = "A much longer point name";
    ASSERT_EQ(w.create(1), 1);
    const FlagTable& current = w.boxes[1].table;
    const FlagCellSize cell =
        flagCellSizeForRun(w.view.FahneProps[1], "", {current.width, current.height}, w.sources());
    FlagTable longest;
    fillFlag(longest, w.view.FahneProps[1], 3, w.cloud, w.job, "", w.metrics);
    EXPECT_GT(longest.width, current.width);
    EXPECT_EQ(cell.width, longest.width);
    EXPECT_EQ(cell.height, current.height);

    // Laid out in cells of that size along the borders, no flag covers another's texts.
    ViewArrays view;
    view.resize(w.cloud.count());
    for (std::int32_t r = 1; r <= w.cloud.count(); ++r) {
        view.PixelX[static_cast<std::size_t>(r)] = static_cast<float>(20 + 50 * r);
        view.PixelY[static_cast<std::size_t>(r)] = 30;  // all along the top border
    }
    FlagLayoutInput in{4000, 600, cell.width, cell.height, FlagPlacement::NextToBorder, 1.1, 1, 6};
    std::vector<std::pair<float, int>> spans;  // left edge and width of each flag
    putFlagsOnAllPoints(in, w.cloud, view, [&](std::int32_t row, float x, float) {
        FlagTable t;
        fillFlag(t, w.view.FahneProps[1], row, w.cloud, w.job, "", w.metrics);
        spans.emplace_back(x, t.width);
        return true;
    });
    ASSERT_GE(spans.size(), 6u);
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].first + static_cast<float>(spans[i - 1].second), spans[i].first) << i;
}

TEST(WindowFlags, NumbersAreNeverReusedUntilAllFlagsGo) {
    FlagWindow w;
    EXPECT_EQ(w.create(1), 1);
    EXPECT_EQ(w.create(2), 2);
    EXPECT_EQ(w.create(3), 3);
    EXPECT_EQ(w.create(3), 0);  // a point carries one flag
    EXPECT_EQ(deleteFlag(w.view, w.boxes, 2), 2);
    EXPECT_EQ(w.view.FahneAnzahl, 3);
    EXPECT_EQ(w.create(4), 4);
    EXPECT_EQ(w.view.FahneProps.size(), 5u);  // the layout of flag 2 stays
    EXPECT_EQ(w.view.FlagOfPoint[2], 0);

    w.view.CurrentFahne = 3;
    EXPECT_EQ(deleteFlag(w.view, w.boxes, 0), 3);  // 0 means the current flag
    EXPECT_EQ(w.view.CurrentFahne, 0);
    EXPECT_EQ(deleteFlag(w.view, w.boxes, 0), 0);  // no current flag: nothing happens

    deleteAllFlags(w.view, w.boxes);
    EXPECT_EQ(w.view.FahneAnzahl, 0);
    EXPECT_TRUE(w.boxes.empty());
    EXPECT_TRUE(w.view.FlagOfPoint.flaggedRows().empty());
    EXPECT_EQ(w.create(5), 1);
}

TEST(WindowFlags, FirstFlagGetsTheTenDefaultFieldsAndStaysInsideThePicture) {
    FlagWindow w;
    ASSERT_EQ(w.create(1, 790, 595), 1);
    const FahneRecord& r = w.view.FahneProps[1];
    EXPECT_TRUE(r.ShowActual && r.ShowNominal && r.showX && r.showY && r.showZ && r.ShowDev && r.ShowTolCol &&
                r.ShowLegendeXYZ && r.ShowLegendeName && r.ShowGrid);
    EXPECT_FALSE(r.showR || r.ShowUseNotUse);
    const FlagBox& box = w.boxes.at(1);
    EXPECT_EQ(box.left, 800 - box.table.width - 10);
    EXPECT_EQ(box.top, 600 - box.table.height - 20);
    // A leader line ends at the flag's centre.
    const Segment leader = flagLeaderLine(box, 790, 595);
    EXPECT_FLOAT_EQ(leader.to.x, box.left + box.table.width / 2.0f);
    EXPECT_FLOAT_EQ(leader.to.y, box.top + box.table.height / 2.0f);
    EXPECT_EQ(leader.colour, storedColour(0, 100, 100));
}

TEST(WindowFlags, DropSnapsToTheGrid) {
    struct Case {
        int top, expected;
    };
    for (const Case c : {Case{19, 20}, Case{18, 10}, Case{5, 0}, Case{-7, 0}}) {
        FlagWindow w;
        ASSERT_EQ(w.create(1), 1);
        w.view.FahneProps[1].SnaptoGrid = true;
        dropFlagBox(w.view, w.boxes, 1, 45, c.top);
        EXPECT_EQ(w.boxes.at(1).top, c.expected) << c.top;
        EXPECT_EQ(w.view.FahneProps[1].Top, c.expected) << c.top;
    }
}

TEST(WindowFlags, DoubleClickOnTheUseRowTogglesTheRightObservation) {
    FlagWindow w;
    ASSERT_EQ(w.create(5), 1);
    ASSERT_EQ(w.job.UseFlags[14], 1);
    EXPECT_TRUE(toggleFlagUseMark(w.view, w.boxes, 1, 2, w.job));
    EXPECT_EQ(w.job.UseFlags[14], 0);
    EXPECT_TRUE(w.job.JobDirty);
    EXPECT_EQ(cell(w.boxes.at(1).table, 4, 2).text, "");
    EXPECT_TRUE(toggleFlagUseMark(w.view, w.boxes, 1, 2, w.job));
    EXPECT_EQ(w.job.UseFlags[14], 1);
    EXPECT_EQ(cell(w.boxes.at(1).table, 4, 2).text, "X");

    // Under R .. 3D Dev. nothing is an observation: no use flag of any point changes.
    const auto before = w.job.UseFlags;
    for (int column = 4; column <= 8; ++column)
        EXPECT_FALSE(toggleFlagUseMark(w.view, w.boxes, 1, column, w.job));
    EXPECT_EQ(w.job.UseFlags, before);

    // The OCS side of identical point 2 (row 8) toggles point 2; a point without partner nothing.
    ASSERT_EQ(w.create(8), 2);
    EXPECT_TRUE(toggleFlagUseMark(w.view, w.boxes, 2, 1, w.job));
    EXPECT_EQ(w.job.UseFlags[4], 0);
    ASSERT_EQ(w.create(13), 3);
    EXPECT_FALSE(toggleFlagUseMark(w.view, w.boxes, 3, 1, w.job));
}

TEST(WindowFlags, AStoredViewWithDanglingOrRepeatedFlagsComesBackClean) {
    FlagWindow w;
    w.view.FahneAnzahl = 2;
    w.view.FahneProps.resize(3);
    w.view.FahneProps[1].Left = 120;
    w.view.FahneProps[1].Top = 40;
    w.view.FahneProps[1].ShowActual = true;
    w.view.FahneProps[2].Left = 300;
    w.view.FahneProps[2].Top = 200;
    w.view.FlagOfPoint.resize(14);
    w.view.FlagOfPoint.set(1, 1);
    w.view.FlagOfPoint.set(2, 2);
    w.view.FlagOfPoint.set(3, 2);  // repeated
    w.view.FlagOfPoint.set(4, 9);  // no layout
    resetFlagsFromStoredView(w.view, w.boxes, w.sources());
    ASSERT_EQ(w.boxes.size(), 2u);
    EXPECT_EQ(w.boxes.at(1).left, 120);
    EXPECT_EQ(w.boxes.at(1).top, 40);
    EXPECT_EQ(w.boxes.at(2).left, 300);
    EXPECT_EQ(w.view.FlagOfPoint[3], 0);
    EXPECT_EQ(w.view.FlagOfPoint[4], 0);
    EXPECT_EQ(cell(w.boxes.at(1).table, 0, 0).text, "P1");
}

TEST(WindowFlags, ChangeAllGivesEveryFlagTheLayoutAndKeepsEachPlace) {
    FlagWindow w;
    ASSERT_EQ(w.create(1, 100, 100), 1);
    ASSERT_EQ(w.create(2, 300, 200), 2);
    w.view.CurrentFahne = 1;
    FahneRecord& current = w.view.FahneProps[1];
    current.ShowPointNumber = true;
    current.ChangeAll = true;
    current.Forecolor = storedColour(0, 0, 255);
    carryLayoutOver(w.view, w.boxes, w.sources());
    const FahneRecord& other = w.view.FahneProps[2];
    EXPECT_TRUE(other.ShowPointNumber);
    EXPECT_EQ(other.Forecolor, storedColour(0, 0, 255));
    EXPECT_EQ(other.Left, 300);
    EXPECT_EQ(other.Top, 200);
    EXPECT_EQ(w.boxes.at(2).table.textColour, storedColour(0, 0, 255));
}

TEST(WindowFlags, CopyGivesTabsAndCrLf) {
    FlagTable t;
    t.cells[0][0].text = "a";
    t.cells[0][1].text = "b";
    t.cells[1][0].text = "c";
    t.cells[1][1].text = "d";
    EXPECT_EQ(flagCopyText(t, 0, 0, 1, 1), "a\tb\r\nc\td");
}

// A cloud of `count` rows spread over the picture, every row shown and visible.
struct LayoutScene {
    PointCloud cloud;
    ViewArrays view;
    explicit LayoutScene(std::int32_t count) {
        cloud.reset(count);
        view.resize(count);
        for (std::int32_t r = 1; r <= count; ++r) {
            cloud(r, cloud::Shown) = 1;
            cloud(r, cloud::Visible) = 1;
            view.PixelX[static_cast<std::size_t>(r)] = static_cast<float>(100 + (r * 37) % 600);
            view.PixelY[static_cast<std::size_t>(r)] = static_cast<float>(100 + (r * 53) % 400);
        }
    }
};

TEST(FlagLayout, CellGridOfThePicture) {
    FlagLayoutInput in;
    in.surfaceWidth = 800;
    in.surfaceHeight = 600;
    in.flagWidth = 100;
    in.flagHeight = 40;
    const FlagCellGrid g = flagCellGrid(in);
    EXPECT_EQ(g.columns, 8);
    EXPECT_EQ(g.rows, 15);
    EXPECT_EQ(g.borderWidth, 785);
    EXPECT_EQ(g.borderHeight, 590);
}

TEST(FlagLayout, EveryNthRowIsTriedAndAHiddenRowIsNotReplaced) {
    struct Case {
        int every;
        std::vector<std::int32_t> rows;
    };
    for (const Case& c : {Case{3, {1, 7}}, Case{0, {1, 2, 3, 5, 6, 7, 8}}, Case{-4, {1, 2, 3, 5, 6, 7, 8}}}) {
        LayoutScene scene(8);
        scene.cloud(4, cloud::Visible) = 0;
        FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::CloseToPoint, 1.1, c.every, 0};
        std::vector<std::int32_t> put;
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t row, float x, float y) {
            EXPECT_FLOAT_EQ(x, scene.view.PixelX[static_cast<std::size_t>(row)]);
            EXPECT_FLOAT_EQ(y, scene.view.PixelY[static_cast<std::size_t>(row)]);
            put.push_back(row);
            return true;
        });
        EXPECT_EQ(put, c.rows) << c.every;
    }
}

TEST(FlagLayout, RadialFactorMovesTheClickAlongTheRayFromTheCentre) {
    LayoutScene scene(2);
    scene.view.PixelX[1] = 300, scene.view.PixelY[1] = 200;
    scene.view.PixelX[2] = 100, scene.view.PixelY[2] = 200;  // centre (200, 200)
    for (const double f : {1.1, 1.0}) {
        FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::Radial, f, 1, 0};
        std::vector<float> xs;
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t, float x, float) {
            xs.push_back(x);
            return true;
        });
        ASSERT_EQ(xs.size(), 2u);
        EXPECT_NEAR(xs[0], 200 + 100 * f, 1e-4) << f;
    }
}

TEST(FlagLayout, OcsSidesGetNoFlagAndAFullPictureSaysSoOnce) {
    // Identical points 1..3 (rows 1..6): rows 4..6 are their OCS sides.
    LayoutScene scene(40);
    FlagLayoutInput in{200, 80, 100, 40, FlagPlacement::ScreenBorder, 1.1, 1, 3};
    std::vector<std::int32_t> put;
    const FlagLayoutOutcome outcome =
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t row, float, float) {
            put.push_back(row);
            return true;
        });
    EXPECT_TRUE(outcome.screenFull);
    ASSERT_EQ(put.size(), 4u);  // 2 × 2 cells, the flags already placed stay
    for (std::int32_t row : put) EXPECT_FALSE(row >= 4 && row <= 6);
}

TEST(FlagLayout, AFullBorderSkipsItsPointAndTheRunGoesOnToTheOtherBorders) {
    // 200 x 400 with 100 x 40 flags: 2 columns of 10 cells. Twelve points hug the left border
    // (the left column holds ten flags), and one point below them hugs the right border.
    LayoutScene scene(13);
    for (std::int32_t r = 1; r <= 12; ++r) {
        scene.view.PixelX[static_cast<std::size_t>(r)] = 10;
        scene.view.PixelY[static_cast<std::size_t>(r)] = static_cast<float>(50 + 20 * r);
    }
    scene.view.PixelX[13] = 180, scene.view.PixelY[13] = 350;
    FlagLayoutInput in{200, 400, 100, 40, FlagPlacement::NextToBorder, 1.1, 1, 0};
    std::vector<std::int32_t> put;
    std::vector<float> xs;
    const FlagLayoutOutcome outcome =
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t row, float x, float) {
            put.push_back(row);
            xs.push_back(x);
            return true;
        });
    EXPECT_TRUE(outcome.screenFull);  // said once by the caller
    ASSERT_EQ(put.size(), 11u);
    EXPECT_EQ(put.back(), 13);        // the right-border point still gets its flag
    EXPECT_FLOAT_EQ(xs.back(), 100);  // in the right column
    for (std::size_t i = 0; i + 1 < put.size(); ++i) EXPECT_FLOAT_EQ(xs[i], 0) << put[i];
}

TEST(FlagLayout, BorderRulesNeverOverlapTheirFlags) {
    // The border-side rule keeps each flag on its own side, so it has fewer cells to offer.
    for (const auto& [rule, count] :
         {std::pair{FlagPlacement::ScreenBorder, 30}, std::pair{FlagPlacement::NextToBorder, 12}}) {
        LayoutScene scene(count);
        scene.view.PixelX[3] = 400, scene.view.PixelY[3] = 300;  // level with the centre's neighbours
        FlagLayoutInput in{800, 600, 100, 40, rule, 1.1, 1, 0};
        std::set<std::pair<int, int>> corners;
        const FlagLayoutOutcome outcome =
            putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t, float x, float y) {
                EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
                EXPECT_GE(x, 0);
                EXPECT_GE(y, 0);
                EXPECT_TRUE(corners.insert({int(x), int(y)}).second);
                return true;
            });
        EXPECT_FALSE(outcome.screenFull) << count;
        EXPECT_EQ(corners.size(), static_cast<std::size_t>(count));
    }
}

TEST(FlagLayout, ATakenCellSendsTheNextFlagLeftAboveFirst) {
    // Two points at the same place right of the centre: the second flag searches around the
    // first one's cell, beginning left above it.
    LayoutScene scene(3);
    for (int r = 1; r <= 2; ++r) scene.view.PixelX[static_cast<std::size_t>(r)] = 700;
    scene.view.PixelX[3] = 100;
    for (int r = 1; r <= 3; ++r) scene.view.PixelY[static_cast<std::size_t>(r)] = 300;
    FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::ScreenBorder, 1.1, 1, 0};
    std::vector<std::pair<float, float>> at;
    putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t, float x, float y) {
        at.emplace_back(x, y);
        return true;
    });
    ASSERT_EQ(at.size(), 3u);
    EXPECT_FLOAT_EQ(at[0].first, 600);  // Wb - fw = 685, in cell column 7
    EXPECT_FLOAT_EQ(at[0].second, 280);
    EXPECT_FLOAT_EQ(at[1].first, at[0].first - 100);
    EXPECT_FLOAT_EQ(at[1].second, at[0].second - 40);
}

// The free-cell search looks only at the ring of each widening square; it must find the cell
// that trying every cell of the square, column by column, would find.
TEST(FlagLayout, RingSearchFindsTheCellTheFullSquareScanFinds) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial) {
        const int columns = 1 + static_cast<int>(random() % 12), rows = 1 + static_cast<int>(random() % 12);
        const auto side = static_cast<FlagBorderSide>(random() % 5);
        std::vector<std::vector<bool>> taken(static_cast<std::size_t>(columns + 1),
                                             std::vector<bool>(static_cast<std::size_t>(rows + 1), false));
        FlagCells cells(columns, rows);
        const int fill = static_cast<int>(random() % static_cast<unsigned>(columns * rows + 1));
        for (int i = 0; i < fill; ++i) {
            const int c = 1 + static_cast<int>(random() % static_cast<unsigned>(columns));
            const int r = 1 + static_cast<int>(random() % static_cast<unsigned>(rows));
            cells.take(c, r);
            taken[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = true;
        }
        const int c0 = 1 + static_cast<int>(random() % static_cast<unsigned>(columns));
        const int r0 = 1 + static_cast<int>(random() % static_cast<unsigned>(rows));
        // The plain search: every square from the start outwards, the side pinning its coordinate.
        const auto pin = [&](int& c, int& r) {
            if (side == FlagBorderSide::Left) c = 1;
            if (side == FlagBorderSide::Right) c = columns;
            if (side == FlagBorderSide::Top) r = 1;
            if (side == FlagBorderSide::Bottom) r = rows;
        };
        const auto isFree = [&](int c, int r) {
            return c >= 1 && c <= columns && r >= 1 && r <= rows &&
                   !taken[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
        };
        int ec = c0, er = r0;
        pin(ec, er);
        bool expectFound = isFree(ec, er);
        for (int reach = 1; !expectFound && reach <= std::max(columns, rows); ++reach)
            for (int cc = ec - reach; !expectFound && cc <= ec + reach; ++cc)
                for (int rr = er - reach; !expectFound && rr <= er + reach; ++rr) {
                    int tc = cc, tr = rr;
                    pin(tc, tr);
                    if (isFree(tc, tr)) {
                        expectFound = true;
                        ec = tc;
                        er = tr;
                    }
                }
        int c = c0, r = r0;
        ASSERT_EQ(cells.findFree(c, r, side), expectFound) << trial;
        if (expectFound) {
            EXPECT_EQ(c, ec) << trial;
            EXPECT_EQ(r, er) << trial;
        }
    }
}

// Flags are opaque tables drawn in number order: a paint needs only those with a pixel that no
// later flag covers and that lies inside the picture.
TEST(WindowFlags, OnlyFlagsInSightArePainted) {
    const auto box = [](int left, int top, int width, int height, bool visible = true) {
        FlagBox b;
        b.left = left, b.top = top, b.visible = visible;
        b.table.width = width, b.table.height = height;
        return b;
    };
    FlagBoxes boxes;
    boxes[1] = box(10, 10, 50, 20);    // wholly under flag 2
    boxes[2] = box(5, 5, 70, 40);      // under 3 and 4 together, but its bottom row shows
    boxes[3] = box(0, 0, 40, 44);      // left half over 2
    boxes[4] = box(40, 0, 40, 44);     // right half over 2
    boxes[5] = box(100, 100, 30, 30);  // alone
    boxes[6] = box(100, 100, 30, 30, false);
    boxes[7] = box(400, 10, 30, 30);   // right of the picture
    boxes[8] = box(-50, 200, 30, 30);  // left of it
    boxes[9] = box(150, 150, 20, 20);
    boxes[10] = box(140, 140, 40, 40);  // covers 9, and 9's closing grid lines too
    EXPECT_EQ(flagsInSight(boxes, 300, 250), (std::vector<std::int16_t>{2, 3, 4, 5, 10}));
    boxes[3].table.height = 46;  // 3 and 4 now cover all of 2, grid lines included
    boxes[4].table.height = 46;
    EXPECT_EQ(flagsInSight(boxes, 300, 250), (std::vector<std::int16_t>{3, 4, 5, 10}));
    EXPECT_TRUE(flagsInSight(boxes, 0, 0).empty());
}

// A large job: 10^5 rows spread over an 800 x 600 picture. Every rule shows its progress and ends
// at Stop, keeping the flags put so far; no flag is put after Stop. The border rules first measure
// the flags for their cells' size (here 3 x 3 px), the first half of their progress.
TEST(FlagLayout, LongRunShowsProgressAndStopKeepsTheFlagsPutSoFar) {
    constexpr std::int32_t kRows = 100'000;
    const LayoutScene scene(kRows);
    for (const auto rule : {FlagPlacement::CloseToPoint, FlagPlacement::Radial, FlagPlacement::ScreenBorder,
                            FlagPlacement::NextToBorder}) {
        const bool borderRule = rule == FlagPlacement::ScreenBorder || rule == FlagPlacement::NextToBorder;
        FlagLayoutInput in{800, 600, 2, 2, rule, 1.1, 1, 0};
        testing::FakeProgress progress;
        testing::FakeEventPump events;
        bool stopPressed = false;
        progress.onValue = [&](int percent) {
            if (percent >= 75) stopPressed = progress.stop = true;
        };
        int put = 0, putAfterStop = 0, measured = 0, offCell = 0;
        const FlagLayoutOutcome outcome = putFlagsOnAllPoints(
            in, scene.cloud, scene.view,
            [&](std::int32_t, float x, float y) {
                ++put;
                if (stopPressed) ++putAfterStop;
                if (std::fmod(x, 3.0f) != 0 || std::fmod(y, 3.0f) != 0) ++offCell;
                return true;
            },
            {nullptr, &progress, &events, std::chrono::milliseconds(0)},
            [&](std::int32_t) {
                ++measured;
                return FlagSize{measured == 5 ? 3 : 1, measured == 7 ? 3 : 1};
            },
            FlagsOnWindow{kRows, {}});  // numbers for every point: Stop, not the last number, ends it
        const int r = static_cast<int>(rule);
        EXPECT_TRUE(outcome.stopped) << r;
        EXPECT_EQ(progress.captions, std::vector<std::string>{kFlagRunCaption}) << r;
        ASSERT_FALSE(progress.values.empty()) << r;
        EXPECT_EQ(progress.values.front(), 0) << r;
        EXPECT_EQ(progress.values.back(), 75) << r;
        EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end())) << r;
        EXPECT_FALSE(progress.isOpen) << r;
        EXPECT_EQ(progress.closes, 1) << r;
        EXPECT_GT(events.calls(), 0) << r;
        EXPECT_EQ(putAfterStop, 0) << r;
        EXPECT_EQ(outcome.flagsPut, put) << r;
        EXPECT_GT(put, 0) << r;
        EXPECT_LT(put, kRows) << r;
        // Only the flags a plan puts are measured, each once, and the largest sizes the cells.
        EXPECT_LE(measured, borderRule ? kRows : 0) << r;
        if (borderRule) {
            EXPECT_GE(measured, put) << r;
            EXPECT_EQ(offCell, 0) << r;
        }
    }
}

// A run that ends before its first look at the clock opens no progress window.
TEST(FlagLayout, AShortRunOpensNoProgressWindow) {
    const LayoutScene scene(8);
    testing::FakeProgress progress;
    FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::CloseToPoint, 1.1, 1, 0};
    const FlagLayoutOutcome outcome =
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [](std::int32_t, float, float) { return true; },
                            {nullptr, &progress, nullptr, std::chrono::hours(1)});
    EXPECT_EQ(outcome.flagsPut, 8);
    EXPECT_TRUE(progress.captions.empty());
}

// Close and radial flags go on every point whether they fit or not: with more of them than the
// picture has room for side by side, the user is asked first. The border rules place flags only
// into free cells: with more points than cells, the user is told how many flags fit and asked.
TEST(FlagLayout, FlagsThatCannotBeReadAreAskedForFirst) {
    struct Case {
        FlagPlacement rule;
        std::int32_t rows;
        int every;
        std::optional<platform::Answer> answer;  // none: no question expected
        int flagsPut;
        std::string question;  // empty: the close rule's question
    };
    // 800 x 600 with 100 x 40 flags: 8 x 15 = 120 fit side by side.
    const Case cases[] = {
        {FlagPlacement::CloseToPoint, 120, 1, std::nullopt, 120, ""},
        {FlagPlacement::CloseToPoint, 121, 1, platform::Answer::No, 0, ""},
        {FlagPlacement::CloseToPoint, 121, 1, platform::Answer::Yes, 121, ""},
        {FlagPlacement::Radial, 500, 1, platform::Answer::No, 0, ""},
        {FlagPlacement::Radial, 500, 5, std::nullopt, 100, ""},  // every 5th row: 100 flags
        {FlagPlacement::ScreenBorder, 120, 1, std::nullopt, 120, ""},
        {FlagPlacement::ScreenBorder, 500, 1, platform::Answer::No, 0, fewerFlagsQuestion(500, 120, true, 0)},
        {FlagPlacement::ScreenBorder, 500, 1, platform::Answer::Yes, 120,
         fewerFlagsQuestion(500, 120, true, 0)},
        {FlagPlacement::NextToBorder, 500, 1, platform::Answer::Yes, 2 * 8 + 2 * 15 - 4,
         fewerFlagsQuestion(500, 2 * 8 + 2 * 15 - 4, true, 0)},
    };
    for (const Case& c : cases) {
        const LayoutScene scene(c.rows);
        testing::FakePrompter prompter;
        testing::FakeProgress progress;
        if (c.answer) prompter.answer(*c.answer);
        FlagLayoutInput in{800, 600, 100, 40, c.rule, 1.1, c.every, 0};
        const FlagLayoutOutcome outcome =
            putFlagsOnAllPoints(in, scene.cloud, scene.view, [](std::int32_t, float, float) { return true; },
                                {&prompter, &progress, nullptr, std::chrono::milliseconds(0)});
        const std::string label = std::to_string(static_cast<int>(c.rule)) + "/" + std::to_string(c.rows);
        EXPECT_EQ(outcome.flagsPut, c.flagsPut) << label;
        EXPECT_EQ(outcome.declined, c.answer == platform::Answer::No) << label;
        // Declined: nothing was done, not even the progress window.
        EXPECT_EQ(progress.captions.empty(), outcome.declined) << label;
        if (!c.answer) {
            EXPECT_TRUE(prompter.shown().empty()) << label;
            continue;
        }
        ASSERT_EQ(prompter.shown().size(), 1u) << label;
        EXPECT_EQ(prompter.shown()[0].buttons, platform::Buttons::YesNo) << label;
        EXPECT_EQ(prompter.shown()[0].text,
                  c.question.empty() ? tooManyFlagsQuestion(c.rows, 120) : c.question)
            << label;
    }
}

// A window numbers at most 32767 flags. A run that would go past that says before how many flags
// it will put, and tells afterwards how many it put and how many points got none.
TEST(FlagLayout, ARunPastTheLastFlagNumberSaysHowManyItPuts) {
    FlagWindow w;
    w.cloud.reset(20);
    for (int r = 1; r <= 20; ++r) setRow(w.cloud, r, "P" + std::to_string(r), r, r, r);
    LayoutScene scene(20);
    w.view.FahneAnzahl = 32760;  // seven numbers left
    w.view.FahneProps.resize(32761);
    FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::CloseToPoint, 1.1, 1, 0};
    FlagsOnWindow onWindow;
    onWindow.flagNumbersLeft = kMaxFlagNumber - w.view.FahneAnzahl;
    testing::FakePrompter prompter;
    prompter.answer(platform::Answer::Yes);
    int tried = 0;
    const FlagLayoutOutcome outcome = putFlagsOnAllPoints(
        in, scene.cloud, scene.view,
        [&](std::int32_t row, float x, float y) {
            ++tried;
            return w.create(row, x, y) != 0;
        },
        {&prompter, nullptr, nullptr, std::chrono::milliseconds(0)}, {}, onWindow);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, fewerFlagsQuestion(20, 7, false, 0));
    EXPECT_EQ(outcome.flagsPut, 7);
    EXPECT_EQ(tried, 7);  // the run ends at the last number, not after trying every point
    EXPECT_EQ(w.view.FahneAnzahl, kMaxFlagNumber);
    EXPECT_TRUE(outcome.limitReached);
    EXPECT_EQ(outcome.flagsLeftOut, 13);
    EXPECT_EQ(flagLimitMessage(outcome.flagsPut, outcome.flagsLeftOut),
              "7 flags were put; 13 points got no flag: a graphics window holds at most 32767 flags.");
    // Within the numbers left nothing is said.
    FlagLayoutOutcome within = putFlagsOnAllPoints(
        in, scene.cloud, scene.view, [](std::int32_t, float, float) { return true; },
        {&prompter, nullptr, nullptr, std::chrono::milliseconds(0)}, {}, FlagsOnWindow{});
    EXPECT_FALSE(within.limitReached);
    EXPECT_EQ(within.flagsPut, 20);
    EXPECT_EQ(prompter.shown().size(), 1u);
}

// A border run on 10^5 points in a picture of 6 x 5 cells of 100 x 50 px: the ray rule has 30 cells,
// the border-side rule the 18 along the border. Before putting any flag the run says how many it
// puts; it measures only the flags it plans, not every point, and "No" leaves the window as it was.
TEST(FlagLayout, ABorderRunCountsItsCellsAndAsksBeforeMorePointsThanCells) {
    constexpr std::int32_t kRows = 100'000;
    LayoutScene scene(kRows);
    for (std::int32_t r = 1; r <= kRows; ++r) {
        scene.view.PixelX[static_cast<std::size_t>(r)] = static_cast<float>(20 + (r * 37) % 560);
        scene.view.PixelY[static_cast<std::size_t>(r)] = static_cast<float>(20 + (r * 53) % 210);
    }
    struct Case {
        FlagPlacement rule;
        int cells;
    };
    for (const Case c : {Case{FlagPlacement::ScreenBorder, 30}, Case{FlagPlacement::NextToBorder, 18}}) {
        for (const platform::Answer answer : {platform::Answer::No, platform::Answer::Yes}) {
            FlagLayoutInput in{600, 250, 60, 30, c.rule, 1.1, 1, 0};
            testing::FakePrompter prompter;
            prompter.answer(answer);
            int measured = 0;
            std::set<std::pair<float, float>> corners;
            const FlagLayoutOutcome outcome = putFlagsOnAllPoints(
                in, scene.cloud, scene.view,
                [&](std::int32_t, float x, float y) {
                    EXPECT_TRUE(corners.insert({x, y}).second);
                    EXPECT_EQ(std::fmod(x, 100.0f), 0);
                    EXPECT_EQ(std::fmod(y, 50.0f), 0);
                    return true;
                },
                {&prompter, nullptr, nullptr, std::chrono::milliseconds(0)},
                [&](std::int32_t) {
                    ++measured;
                    return FlagSize{100, 50};  // every flag larger than the current one
                });
            const int r = static_cast<int>(c.rule);
            ASSERT_EQ(prompter.shown().size(), 1u) << r;
            EXPECT_EQ(prompter.shown()[0].text, fewerFlagsQuestion(kRows, c.cells, true, 0)) << r;
            EXPECT_LT(measured, 1000) << r;  // the planned flags only, not every point
            EXPECT_EQ(outcome.declined, answer == platform::Answer::No) << r;
            EXPECT_EQ(outcome.flagsPut, answer == platform::Answer::Yes ? c.cells : 0) << r;
            EXPECT_EQ(outcome.screenFull, answer == platform::Answer::Yes) << r;
        }
    }
}

// The flags on the window before a border run stay in sight: no cell they cover is handed out.
TEST(FlagLayout, ABorderRunLeavesTheFlagsAlreadyThereUncovered) {
    LayoutScene scene(200);
    const FlagArea kept{150, 90, 120, 50};  // over cells (2..3, 3..4) of 100 x 40
    for (const auto rule : {FlagPlacement::ScreenBorder, FlagPlacement::NextToBorder}) {
        FlagLayoutInput in{800, 600, 100, 40, rule, 1.1, 1, 0};
        FlagsOnWindow onWindow;
        onWindow.areas.push_back(kept);
        int put = 0;
        putFlagsOnAllPoints(
            in, scene.cloud, scene.view,
            [&](std::int32_t, float x, float y) {
                ++put;
                const bool apart = x + 100 <= kept.left || kept.left + kept.width <= x ||
                                   y + 40 <= kept.top || kept.top + kept.height <= y;
                EXPECT_TRUE(apart) << x << "," << y;
                return true;
            },
            {}, {}, onWindow);
        EXPECT_EQ(put, rule == FlagPlacement::ScreenBorder ? 120 - 4 : 2 * 8 + 2 * 15 - 4)
            << static_cast<int>(rule);
    }
}

// The flags a close or radial run would try: its step's candidates inside the picture.
TEST(FlagLayout, FlagsOfARunCountItsCandidatesInsideThePicture) {
    LayoutScene scene(12);
    scene.cloud(2, cloud::Visible) = 0;                                             // hidden
    scene.cloud(3, cloud::Shown) = 0;                                               // not shown
    scene.view.PixelX[7] = -5;                                                      // left of the picture
    scene.view.PixelY[9] = 601;                                                     // below it
    FlagLayoutInput in{800, 600, 100, 40, FlagPlacement::CloseToPoint, 1.1, 1, 2};  // rows 3, 4: OCS sides
    EXPECT_EQ(flagsOfRun(in, scene.cloud, scene.view), 12 - 5);                     // 2, 3, 4, 7, 9 left out
    in.flagOnEvery = 4;                                                             // rows 1, 5, 9
    EXPECT_EQ(flagsOfRun(in, scene.cloud, scene.view), 2);
    EXPECT_EQ(legibleFlagCount(in), 8 * 15);
}

// A box's refusal names the box and what was typed, and the box keeps its accepted text.
void expectRefused(const BoxCommit& commit, const std::string& box, const std::string& typed,
                   const std::string& kept) {
    EXPECT_EQ(commit.text, kept) << typed;
    ASSERT_TRUE(commit.refusal) << typed;
    EXPECT_NE(commit.refusal->find("\"" + box + "\""), std::string::npos) << *commit.refusal;
    EXPECT_NE(commit.refusal->find("\"" + typed + "\""), std::string::npos) << *commit.refusal;
}

TEST(FlagEditor, RadialFactorRefusesWhatIsNoPlainNumberAndKeepsTheLastValidOne) {
    FlagEditorModel editor;
    editor.load(fullLayout(), 10);
    FahneRecord r;
    // Unreadable at opening: the factor stays 1.1, never 0 (every flag on the centre).
    for (const char* typed : {"-", "", "abc", "0", "0.001", "1e3", "1.2.3", "12a", "-2"})
        expectRefused(editor.editFaktor(typed), "place radial, Length =", typed, "1.1");
    EXPECT_DOUBLE_EQ(editor.apply(r).radialFactor, 1.1);

    EXPECT_EQ(editor.editFaktor("1,25").text, "1.25");  // either separator, read as 1.25
    EXPECT_FALSE(editor.editFaktor("1.25").refusal);
    EXPECT_EQ(editor.editFaktor("1.239").text, "1.24");  // two decimals
    EXPECT_EQ(editor.editFaktor(" 2. ").text, "2");
    expectRefused(editor.editFaktor("1e30"), "place radial, Length =", "1e30", "2");
    expectRefused(editor.editFaktor("-"), "place radial, Length =", "-", "2");
    EXPECT_DOUBLE_EQ(editor.apply(r).radialFactor, 2.0);
}

TEST(FlagEditor, PutToEveryRefusesZeroAndWhatIsNoWholeNumber) {
    FlagEditorModel editor;
    editor.load(fullLayout(), 10);
    editor.setChecked(FlagCheck::CheckPutAll, true);
    editor.setChecked(FlagCheck::CheckPutToEvery, true);
    FahneRecord r;
    for (const char* typed : {"0", "-5", "abc", "1x", "2.5", "", "40000", "M"})
        expectRefused(editor.editFlagOnEvery(typed), "put to every", typed, "1");
    EXPECT_EQ(editor.apply(r).flagOnEvery, 1);
    EXPECT_EQ(editor.editFlagOnEvery(" 3").text, "3");
    EXPECT_EQ(editor.apply(r).flagOnEvery, 3);
    expectRefused(editor.editFlagOnEvery("0"), "put to every", "0", "3");
    EXPECT_EQ(editor.apply(r).flagOnEvery, 3);
}

TEST(FlagEditor, GridLengthIsLimitedAndASnapGridThatStacksEveryFlagIsRefused) {
    FlagEditorModel editor;
    editor.load(fullLayout(), 10);
    FahneRecord r;
    EXPECT_EQ(editor.editGridLength("5").text, "10");  // a number outside 10..1000 takes the limit
    EXPECT_EQ(editor.editGridLength("2000").text, "1000");
    EXPECT_EQ(editor.state().VScroll1, 1000);
    EXPECT_EQ(editor.editGridLength("-5").text, "10");
    expectRefused(editor.editGridLength("abc"), "Grid Length for Snap", "abc", "10");
    expectRefused(editor.editGridLength("1e2"), "Grid Length for Snap", "1e2", "10");
    editor.scrollGridLength(250);
    EXPECT_EQ(editor.state().TextGridLength, "250");
    EXPECT_EQ(editor.apply(r).gridLength, 250);

    // On a 400 x 300 picture a grid of 400 takes every flag corner to the top left one.
    editor.setPictureSize(400, 300);
    EXPECT_EQ(editor.largestGridLength(), 399);
    const BoxCommit stacked = editor.editGridLength("400");
    EXPECT_EQ(stacked.text, "250");
    ASSERT_TRUE(stacked.refusal);
    EXPECT_NE(stacked.refusal->find("one spot"), std::string::npos) << *stacked.refusal;
    EXPECT_TRUE(editor.editGridLength("2000").refusal);  // limited to 1000, still too long
    EXPECT_EQ(editor.apply(r).gridLength, 250);
    EXPECT_FALSE(editor.editGridLength("399").refusal);
    editor.scrollGridLength(1000);
    EXPECT_EQ(editor.state().VScroll1, 399);
}

// The grid length is whole pixels: a fraction is refused with the box's message instead of being
// rounded ("19,5" became 20), and an emptied box goes back to the length the grid keeps.
TEST(FlagEditor, GridLengthRefusesAFractionAndAnEmptiedBoxShowsTheLengthItKeeps) {
    FlagEditorModel editor;
    editor.load(fullLayout(), 10);
    FahneRecord r;
    ASSERT_EQ(editor.editGridLength("40").text, "40");
    for (const char* typed : {"19,5", "19.5", "20.0", "", "  "}) {
        SCOPED_TRACE(typed);
        expectRefused(editor.editGridLength(typed), "Grid Length for Snap", typed, "40");
        EXPECT_EQ(editor.state().TextGridLength, "40");
        EXPECT_EQ(editor.state().VScroll1, 40);
        EXPECT_EQ(editor.apply(r).gridLength, 40);
    }
    const BoxCommit fraction = editor.editGridLength("19,5");
    ASSERT_TRUE(fraction.refusal);
    EXPECT_NE(fraction.refusal->find("a whole number"), std::string::npos) << *fraction.refusal;
    // Whole numbers are shown as the number the grid takes.
    EXPECT_EQ(editor.editGridLength(" 25 ").text, "25");
    EXPECT_EQ(editor.editGridLength("025").text, "25");
    EXPECT_EQ(editor.apply(r).gridLength, 25);
}

TEST(FlagEditor, InterlocksKeepARowOrThePointNameOn) {
    FahneRecord onlyActual;
    onlyActual.ShowActual = true;
    onlyActual.showX = true;
    FlagEditorModel editor;
    editor.load(onlyActual, 10);
    const auto message = editor.setChecked(FlagCheck::CheckActual, false);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message, "It makes no sense to turn this of");
    EXPECT_TRUE(editor.state().is(FlagCheck::CheckActual));

    EXPECT_FALSE(editor.setChecked(FlagCheck::CheckShowOnlyPointNumber, true));
    EXPECT_FALSE(editor.state().is(FlagCheck::CheckActual));
    EXPECT_FALSE(editor.state().is(FlagCheck::CheckX));
    editor.setChecked(FlagCheck::CheckShowOnlyPointNumber, false);
    EXPECT_TRUE(editor.state().is(FlagCheck::CheckActual));

    // A layout showing only the point number opens with the thirteen content boxes clear.
    FahneRecord nameOnly = fullLayout();
    nameOnly.ShowPointNumber = true;
    editor.load(nameOnly, 10);
    EXPECT_TRUE(editor.state().is(FlagCheck::CheckShowOnlyPointNumber));
    for (FlagCheck c :
         {FlagCheck::CheckX, FlagCheck::CheckActual, FlagCheck::CheckUse, FlagCheck::CheckTheta})
        EXPECT_FALSE(editor.state().is(c));
    EXPECT_TRUE(editor.state().is(FlagCheck::Check3D));  // not one of the thirteen

    // No column box checked: the layout shows the point number.
    FahneRecord applied;
    editor.setChecked(FlagCheck::CheckShowOnlyPointNumber, false);
    editor.setChecked(FlagCheck::Check3D, false);
    editor.apply(applied);
    EXPECT_TRUE(applied.ShowPointNumber);
}

}  // namespace
}  // namespace kal
