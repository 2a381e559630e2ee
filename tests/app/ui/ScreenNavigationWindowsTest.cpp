#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/ScreenNavigationWindows.h"
#include "platform/Regional.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"
#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {
namespace {

// Answers the colour dialog with a fixed colour, counting the calls.
struct ScriptedColours : platform::FontDialogs {
    int* calls;
    std::optional<std::int32_t> answer;
    ScriptedColours(int* c, std::optional<std::int32_t> a) : calls(c), answer(a) {}
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override {
        return std::nullopt;
    }
    std::optional<std::int32_t> chooseColor(std::int32_t) override {
        ++*calls;
        return answer;
    }
};

using testing::pixelOf;

struct Program : testing::GraphicsProgram {
    int colourDialogs = 0;
    ScreenNavigationWindows navigation{
        job, screens, std::make_unique<ScriptedColours>(&colourDialogs, storedColour(0, 0, 64))};
    int stores = 0;

    Program() {
        screens.setStoreView([this](FormScreen&) { ++stores; });
        show();
    }
};

TEST(ScreenNavigationWindows, EveryWindowGetsItsNavigationAndAPickRingsThePointEverywhere) {
    Program p;
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    ASSERT_NE(ScreenNavigationWindows::of(first), nullptr);
    ASSERT_NE(ScreenNavigationWindows::of(second), nullptr);
    first.renderNow();
    second.renderNow();

    const QPoint at = pixelOf(second, 1);
    QTest::mouseMove(second.surface(), at);
    ScreenNavigationWindows::of(second)->flushMove();
    EXPECT_EQ(second.statusPanel()->text().toStdString(), "Pnt.ID: " + second.model().cloud.name(1));

    QTest::mouseClick(second.surface(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(p.screens.session().SelectedPointName, second.model().cloud.name(1));
    EXPECT_TRUE(first.redrawPending());
    EXPECT_TRUE(second.redrawPending());
    EXPECT_EQ(p.stores, 1);  // the release stores the view
}

TEST(ScreenNavigationWindows, DoubleClickTakesTheDialogsBackgroundAndStores) {
    Program p;
    FormScreen& w = p.open();
    ASSERT_FALSE(w.model().view.LineMode);
    QTest::mouseClick(w.surface(), Qt::LeftButton, Qt::NoModifier, {5, 5});  // the double click's first half
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, {5, 5});
    EXPECT_EQ(p.colourDialogs, 1);
    EXPECT_EQ(w.model().backColour, storedColour(0, 0, 64));
    EXPECT_EQ(p.stores, 2);  // the first release and the double click
}

TEST(ScreenNavigationWindows, WheelZoomsTheWindowUnderTheMouse) {
    Program p;
    FormScreen& w = p.open();
    const float before = w.model().view.Massstab;
    QTest::mouseMove(w.surface(), {100, 100});
    QWheelEvent e(QPointF(100, 100), w.surface()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.surface(), &e);
    EXPECT_FLOAT_EQ(w.model().view.Massstab, static_cast<float>(before / 0.7));
}

}  // namespace
}  // namespace kal
