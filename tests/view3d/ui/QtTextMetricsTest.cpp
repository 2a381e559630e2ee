#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/qt/QtTextMetrics.h"

namespace kal {
namespace {

TEST(QtTextMetrics, MeasuresWithTheWindowFontUnlessTheFontNamesItsOwn) {
    QFont windowFont;
    windowFont.setPointSizeF(10);
    const platform::QtTextMetrics metrics(windowFont);
    const QFontMetrics qt(windowFont);
    const platform::TextSize plain = metrics.measure("Scale 100.000", {});
    EXPECT_EQ(plain.width, qt.horizontalAdvance("Scale 100.000"));
    EXPECT_EQ(plain.height, qt.height());
    EXPECT_EQ(metrics.measure("", {}).width, 0);

    platform::TextFont bigger;
    bigger.size = 20;  // points; the window's family stays
    const platform::TextSize big = metrics.measure("Scale 100.000", bigger);
    EXPECT_GT(big.width, plain.width);
    EXPECT_GT(big.height, plain.height);
    platform::TextFont tiny;
    tiny.size = 0.5f;  // below 1: the window's own size
    EXPECT_EQ(metrics.measure("Scale 100.000", tiny), plain);
    // UTF-8 text is measured as characters, not bytes.
    EXPECT_EQ(metrics.measure("\xC3\x9F", {}).width, qt.horizontalAdvance(QString::fromUtf8("\xC3\x9F")));
}

}  // namespace
}  // namespace kal
