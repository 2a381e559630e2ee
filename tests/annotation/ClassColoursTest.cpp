#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "annotation/ClassColours.h"
#include "platform/Regional.h"

namespace kal {
namespace {

std::tuple<int, int, int> rgb(StoredColour c) { return {c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}; }

ClassColourSettings tenTen() { return ClassColourSettings{10, 10, false, 0, false}; }

TEST(ClassColours, RampOfTenClassesEachSide) {
    struct Case {
        int cls;
        int r, g, b;
    };
    const Case cases[] = {
        {1, 51, 235, 0},   {5, 255, 155, 0}, {6, 255, 134, 0}, {9, 255, 34, 0},
        {10, 255, 0, 0},   {11, 255, 0, 0},  {-1, 0, 235, 51}, {-5, 0, 155, 255},
        {-6, 0, 134, 255}, {-10, 0, 0, 255}, {-11, 0, 0, 255}, {0, 0, 255, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rgb(*classColour(c.cls, tenTen())), std::make_tuple(c.r, c.g, c.b)) << "class " << c.cls;
}

TEST(ClassColours, FourClassesRoundHalfToEven) {
    const ClassColourSettings s{4, 4, false, 0, false};
    EXPECT_EQ(rgb(*classColour(1, s)), std::make_tuple(128, 205, 0));
    EXPECT_EQ(rgb(*classColour(-1, s)), std::make_tuple(0, 205, 128));
}

TEST(ClassColours, OuterColourAndTwoColourMode) {
    ClassColourSettings s = tenTen();
    s.AusserhalbTol = true;
    s.OuterColor = storedColour(10, 20, 30);
    EXPECT_EQ(*classColour(11, s), storedColour(10, 20, 30));
    EXPECT_EQ(*classColour(-11, s), storedColour(10, 20, 30));
    EXPECT_EQ(rgb(*classColour(10, s)), std::make_tuple(255, 0, 0));
    EXPECT_EQ(rgb(*classColour(-10, s)), std::make_tuple(0, 0, 255));

    s.twoColour = true;  // parity wins, outside the band too
    const StoredColour green = storedColour(0, 255, 0), white = storedColour(255, 255, 255);
    const std::pair<int, StoredColour> expected[] = {{-3, green}, {-2, white}, {-1, green}, {0, green},
                                                     {1, white},  {2, green},  {11, white}, {-11, green}};
    for (auto [cls, colour] : expected) EXPECT_EQ(*classColour(cls, s), colour) << "class " << cls;
}

TEST(ClassColours, ZeroClassCountLeavesTheTableUncoloured) {
    PointCloud cloud;
    cloud.reset(2);
    cloud(1, cloud::Colour) = 42;
    colourRows(cloud, ClassColourSettings{0, 10, false, 0, false});
    EXPECT_EQ(cloud(1, cloud::Colour), 42.0f);
    EXPECT_FALSE(classColour(1, ClassColourSettings{10, 0, false, 0, false}));
}

TEST(ClassColours, LargeTableIsColouredEveryRow) {
    PointCloud cloud;
    cloud.reset(40000);  // beyond the 16-bit row limit
    for (std::int32_t row = 1; row <= 40000; ++row)
        cloud(row, cloud::ToleranceClass) = static_cast<float>(row % 23 - 11);
    colourRows(cloud, tenTen());
    for (std::int32_t row : {1, 16384, 32767, 32768, 40000})
        EXPECT_EQ(cloud(row, cloud::Colour), static_cast<float>(*classColour(row % 23 - 11, tenTen())))
            << row;
    EXPECT_EQ(cloud(0, cloud::Colour), 0.0f);  // row 0 untouched
}

TEST(ColourBar, GeometryOf800By600) {
    const ColourBarGeometry g = colourBarGeometry(800, 600, 10, 10);
    EXPECT_EQ(g.halfHeight, 200);
    EXPECT_EQ(g.width, 22);
    EXPECT_EQ(g.bottom, 500);
    EXPECT_EQ(g.left, 725);
    EXPECT_EQ(g.rowsPerNegativeClass, 20);
    EXPECT_EQ(g.minLabel, (PixelPoint{692, 489}));
    EXPECT_EQ(g.maxLabel, (PixelPoint{692, 100}));
    EXPECT_EQ(colourBarGeometry(140, 600, 10, 10).left, 120);
    EXPECT_EQ(colourBarGeometry(800, 600, 3, 3).rowsPerPositiveClass, 67);
}

// The column the fit keeps free holds everything the bar draws, labels included.
TEST(ColourBar, ColumnHoldsTheBarAndItsLabels) {
    EXPECT_EQ(colourBarColumnWidth(800, 600), 800 - 692);
    EXPECT_EQ(colourBarColumnWidth(0, 600), 0);
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {800, 600}, {640, 480}, {300, 900}, {140, 600}, {1900, 200}};
    for (const auto& [w, h] : sizes) {
        const std::int32_t column = colourBarColumnWidth(w, h);
        EXPECT_LT(column, w / 2) << w << " x " << h;
        DisplayList list;
        list.clear(storedColour(255, 255, 255));
        drawColourBar(list, w, h, tenTen(), ColourBarLabels{-0.13, 0.56, 1, 2});
        ASSERT_FALSE(list.items.empty());
        for (const Primitive& p : list.items) {
            if (const auto* r = std::get_if<FilledRect>(&p)) {
                EXPECT_GE(r->left, w - column) << w << " x " << h;
            }
            if (const auto* t = std::get_if<TextLabel>(&p)) {
                EXPECT_GE(t->at.x, w - column) << w << " x " << h;
            }
        }
    }
}

TEST(ColourBar, DrawsClassesZeroMarkAndLabels) {
    platform::ScopedDecimalSeparator point('.');
    DisplayList list;
    list.clear(storedColour(255, 255, 255));
    drawColourBar(list, 800, 600, tenTen(), ColourBarLabels{-0.13, 0.56, 1, 2});
    ASSERT_EQ(list.items.size(), 10u + 1 + 10 + 2);
    // The most negative class at the bottom: rows 480..499.
    EXPECT_EQ(std::get<FilledRect>(list.items[0]), (FilledRect{725, 480, 22, 20, storedColour(0, 0, 255)}));
    EXPECT_EQ(std::get<FilledRect>(list.items[10]),
              (FilledRect{725, 300, 22, 1, 0}));               // zero mark on row 300
    EXPECT_EQ(std::get<FilledRect>(list.items[11]).top, 280);  // class 1: rows 280..299
    EXPECT_EQ(std::get<FilledRect>(list.items[20]), (FilledRect{725, 100, 22, 20, storedColour(255, 0, 0)}));
    const auto& minLabel = std::get<TextLabel>(list.items[21]);
    EXPECT_EQ(minLabel.text, "-0.13");
    EXPECT_EQ(minLabel.colour, 0);  // black on white
    EXPECT_EQ(std::get<TextLabel>(list.items[22]).text, "0.56");

    DisplayList dark;
    dark.clear(0);
    drawColourBar(dark, 800, 600, tenTen(), ColourBarLabels{-0.13, 0.56, 1, 2});
    EXPECT_EQ(std::get<TextLabel>(dark.items.back()).colour, storedColour(192, 192, 192));
}

TEST(ColourBar, MetreLabelsKeepHundredthsOfAMillimetre) {
    platform::ScopedDecimalSeparator comma(',');
    DisplayList list;
    drawColourBar(list, 800, 600, tenTen(), ColourBarLabels{-0.13, 0.56, 0.001, 5});
    EXPECT_EQ(std::get<TextLabel>(list.items[21]).text, "-0,00013");
    EXPECT_EQ(std::get<TextLabel>(list.items[22]).text, "0,00056");
}

TEST(ColourBar, PreviewStripHalvesAndZeroMark) {
    const auto columns = previewStripColumns(600, tenTen());
    ASSERT_EQ(columns.size(), 601u);
    EXPECT_EQ(columns[1], storedColour(0, 0, 255));
    EXPECT_EQ(columns[30], storedColour(0, 0, 255));
    EXPECT_EQ(columns[31], *classColour(-9, tenTen()));
    EXPECT_EQ(columns[300], 0);  // zero mark over the last negative column
    EXPECT_EQ(columns[299], *classColour(-1, tenTen()));
    EXPECT_EQ(columns[301], *classColour(1, tenTen()));
    EXPECT_EQ(columns[600], storedColour(255, 0, 0));
}

}  // namespace
}  // namespace kal
