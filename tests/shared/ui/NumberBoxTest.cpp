// The number box: a narrow box shows the start of its number and the whole number in its tooltip;
// while the user edits, the cursor is theirs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <QToolTip>
#include <cstring>

#include "shared/ui/NumberBox.h"

namespace kal {
namespace {

constexpr const char* kLong = "0.000003465936";  // a scale sigma with twelve digits

// A box as narrow as the calculation window's sigma boxes.
struct NarrowBox {
    NumberBox box;
    NarrowBox() {
        box.setFixedSize(60, 20);
        box.setReadOnly(true);
        box.show();
    }
    QImage picture() { return box.grab().toImage(); }
};

TEST(NumberBox, ANarrowBoxShowsTheStartOfItsNumberAfterEverySetText) {
    NarrowBox n;
    n.box.setText(kLong);
    ASSERT_TRUE(n.box.textCut());
    const QImage start = n.picture();
    EXPECT_EQ(n.box.cursorPosition(), 0);
    // The same start with a different end looks the same; a different start does not.
    n.box.setText(QString(kLong) + "777");
    EXPECT_EQ(n.picture(), start) << "the box shows the end of its number";
    n.box.setText("9.000003465936");
    EXPECT_NE(n.picture(), start);
    // Setting the same text again (a calculation with the same result) keeps the start in view.
    n.box.setText(kLong);
    n.box.setText(kLong);
    EXPECT_EQ(n.picture(), start);
}

TEST(NumberBox, TheTooltipHoldsTheWholeNumberOnlyWhereItIsCut) {
    struct Case {
        const char* text;
        const char* ownTip;
        const char* shown;
    };
    const Case cases[] = {
        {kLong, "", kLong},
        {kLong, "12.5 ppm", "0.000003465936\n12.5 ppm"},
        {"1.0", "", ""},
        {"1.0", "12.5 ppm", "12.5 ppm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.ownTip);
        NarrowBox n;
        n.box.setToolTip(c.ownTip);
        n.box.setText(c.text);
        EXPECT_EQ(n.box.shownToolTip().toStdString(), c.shown);
        EXPECT_EQ(n.box.toolTip().toStdString(), c.ownTip);  // the box's own tooltip is untouched
        // The tooltip the user gets by hovering.
        QToolTip::hideText();
        const QPoint inside = n.box.rect().center();
        QHelpEvent hover(QEvent::ToolTip, inside, n.box.mapToGlobal(inside));
        QApplication::sendEvent(&n.box, &hover);
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string(), c.shown);
        QToolTip::hideText();
    }
}

TEST(NumberBox, WhileEditingTheCursorIsTheUsersAndTheEndOfEditingShowsTheStart) {
    QWidget window;
    auto* box = new NumberBox(&window);
    auto* other = new NumberBox(&window);
    box->setFixedSize(60, 20);
    other->move(0, 30);
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(box->hasFocus());
    box->setText(kLong);  // the text typed so far: the cursor at its end
    EXPECT_EQ(box->cursorPosition(), static_cast<int>(std::strlen(kLong)));
    box->setCursorPosition(5);
    EXPECT_EQ(box->cursorPosition(), 5);
    other->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(box->hasFocus());
    EXPECT_EQ(box->cursorPosition(), 0);
    // A selection made by code for a correction (a refused number) stays.
    box->selectAll();
    EXPECT_EQ(box->selectedText(), kLong);
    // Keys that reach a box without the focus are typed in their order, never turned around by
    // going back to the start after each one.
    QTest::keyClicks(box, "12.5");
    EXPECT_EQ(box->text(), "12.5");
    // A text set by code shows its start again.
    box->setText(kLong);
    EXPECT_EQ(box->cursorPosition(), 0);
}

// A window refreshing many boxes at once sets their texts with the boxes' signals blocked: a long
// number still shows its start, so 1e30 and 0 never look alike.
TEST(NumberBox, ATextSetWithSignalsBlockedShowsItsStart) {
    NarrowBox reference;
    reference.box.setText("1000000000000000000000000000000.000000");
    const QImage start = reference.picture();
    NarrowBox n;
    {
        const QSignalBlocker quiet(&n.box);
        n.box.setText("1000000000000000000000000000000.000000");
    }
    EXPECT_EQ(n.picture(), start) << "the box shows the end of its number";
    {
        const QSignalBlocker quiet(&n.box);
        n.box.setText("0.000000");
    }
    EXPECT_NE(n.picture(), start);
}

// A box whose number fits the box but not the margins either side of its text is cut: its tooltip
// shows the whole number.
TEST(NumberBox, ANumberCutOnlyByTheSideMarginsHasItsTooltip) {
    NumberBox box;
    box.setReadOnly(true);
    box.setText(kLong);
    box.show();
    // The widest box that still cuts the number.
    int width = 200;
    box.setFixedSize(width, 20);
    ASSERT_FALSE(box.textCut());
    while (width > 10 && !box.textCut()) box.setFixedSize(--width, 20);
    ASSERT_TRUE(box.textCut());
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    const QRect contents = box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    EXPECT_LE(box.fontMetrics().horizontalAdvance(kLong), contents.width())
        << "the number would be cut by more than the margins";
    QToolTip::hideText();
    const QPoint inside = box.rect().center();
    QHelpEvent hover(QEvent::ToolTip, inside, box.mapToGlobal(inside));
    QApplication::sendEvent(&box, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), kLong);
    QToolTip::hideText();
}

// Going to another program (here: another window taking the activation) and back leaves the
// cursor where the user put it, also when the box is repainted meanwhile.
TEST(NumberBox, SwitchingToAnotherProgramKeepsTheEditCursor) {
    QWidget window, elsewhere;
    auto* box = new NumberBox(&window);
    box->setFixedSize(60, 20);
    window.show();
    elsewhere.move(300, 300);
    elsewhere.show();
    // Activation and focus arrive as events, later in a test run on its own than after others.
    const auto activate = [](QWidget& w) {
        if (!QTest::qWaitForWindowExposed(&w, 2000)) return false;
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        return QTest::qWaitForWindowActive(&w, 2000);
    };
    ASSERT_TRUE(activate(window));
    box->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->hasFocus(); }, 2000));
    box->setText(kLong);
    box->setCursorPosition(9);
    ASSERT_TRUE(activate(elsewhere));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box->hasFocus(); }, 2000));
    box->grab();  // a repaint while the program is in the background
    EXPECT_EQ(box->cursorPosition(), 9);
    ASSERT_TRUE(activate(window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->hasFocus(); }, 2000));
    EXPECT_EQ(box->cursorPosition(), 9);
}

}  // namespace
}  // namespace kal
