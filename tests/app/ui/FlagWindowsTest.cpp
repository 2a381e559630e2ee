// The flags of real graphics windows: the demo job in the main window, windows opened by the
// Graphics menu, navigation, saved views and the colour bar wired as the program wires them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "app/ColorBarWindows.h"
#include "app/FlagWindows.h"
#include "app/ScreenNavigationWindows.h"
#include "app/ViewRecordWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "calculation/ui/PointTable.h"
#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "platform/Regional.h"
#include "shared/Units.h"
#include "support/FakePlatform.h"
#include "support/FakeProgress.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"
#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {
namespace {

using testing::NoFontDialogs;
using testing::pixelOf;

struct Program : testing::GraphicsProgram {
    testing::FakeClipboard clipboard;
    CalculationWindows calculation{job, events, main, prompter};
    ScreenNavigationWindows navigation{job, screens, std::make_unique<NoFontDialogs>()};
    ViewRecordWindows records{job, events, main, prompter};
    ColorBarWindows colourBar{job, main, prompter, screens};
    FlagWindows flags{
        job, events, main, prompter, screens, &calculation, std::make_unique<NoFontDialogs>(), clipboard};
    std::vector<std::string> names;

    explicit Program(std::unique_ptr<platform::FontDialogs> fonts = std::make_unique<NoFontDialogs>(),
                     JobState loaded = testing::makeDemoJob(KALVORETH_EXAMPLES))
        : GraphicsProgram(std::move(loaded)),
          flags{job, events, main, prompter, screens, &calculation, std::move(fonts), clipboard} {
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        applyUnitSettings(job);
        records.attachScreens(screens);
        flags.connectTo(records, colourBar);
        records.setNameAsker([this] {
            std::string name = names.empty() ? std::string() : names.front();
            if (!names.empty()) names.erase(names.begin());
            return name;
        });
        show();
    }
    int steps(FormScreen& w) const {
        const UndoRing* ring = records.undoRingOf(&w);
        return ring ? ring->UndoIndex() : 0;
    }
};

// The centre of cell (r, c) of a drawn flag, in surface pixels.
QPoint cellCentre(const FlagBox& b, int r, int c) {
    int x = b.left, y = b.top;
    for (int k = 0; k < c; ++k) x += b.table.columnWidth[static_cast<std::size_t>(k)];
    for (int k = 0; k < r; ++k) y += b.table.rowHeight[static_cast<std::size_t>(k)];
    return {x + b.table.columnWidth[static_cast<std::size_t>(c)] / 2,
            y + b.table.rowHeight[static_cast<std::size_t>(r)] / 2};
}

// The first visible row with its pixel well inside the surface.
std::int32_t placeableRow(const FormScreen& w) {
    for (std::int32_t r = 1; r <= w.model().cloud.count(); ++r) {
        const QPoint at = pixelOf(w, r);
        if (at.x() > 20 && at.y() > 20 && at.x() < w.model().width - 40 && at.y() < w.model().height - 40 &&
            w.model().cloud(r, cloud::Visible) == 1)
            return r;
    }
    return 0;
}

template <class T>
std::vector<T> primitivesOf(const DisplayList& list) {
    std::vector<T> found;
    for (const Primitive& p : list.items)
        if (const T* t = std::get_if<T>(&p)) found.push_back(*t);
    return found;
}

TEST(FlagWindows, ClickInFlagModeMakesAFlagDrawnAtItsPlaceWithALeaderLine) {
    Program p;
    FormScreen& w = p.open();
    p.run(Command::FlagMode);
    ASSERT_TRUE(w.model().view.Faehnchenmode);
    const std::int32_t row = placeableRow(w);
    ASSERT_NE(row, 0);
    const QPoint at = pixelOf(w, row);
    QTest::mouseMove(w.surface(), at);
    ScreenNavigationWindows::of(w)->flushMove();
    const int before = p.steps(w);
    QTest::mouseClick(w.surface(), Qt::LeftButton, Qt::NoModifier, at);
    w.renderNow();

    ASSERT_EQ(w.model().view.FahneAnzahl, 1);
    std::int32_t flagged = 0;
    for (const auto& [r, n] : w.model().view.FlagOfPoint.flaggedRows())
        if (n == 1) flagged = r;
    ASSERT_NE(flagged, 0);
    const FlagBoxes& boxes = *p.flags.flagsOf(w);
    ASSERT_EQ(boxes.size(), 1u);
    const FlagBox& box = boxes.at(1);
    EXPECT_TRUE(box.visible);
    EXPECT_GT(box.table.width, 0);
    EXPECT_EQ(w.model().view.FahneProps[1].Left, box.left);
    EXPECT_EQ(w.model().view.FahneProps[1].Top, box.top);
    EXPECT_EQ(box.table.cells[0][0].text, w.model().cloud.name(flagged));
    EXPECT_EQ(p.steps(w), before + 1);  // the creation stores the view; a release in flag mode does not

    // The picture holds the leader line from the point to the flag's centre and the table.
    const auto segments = primitivesOf<Segment>(w.model().display);
    const Segment leader = flagLeaderLine(box, pixelOf(w, flagged).x(), pixelOf(w, flagged).y());
    bool hasLeader = false;
    for (const Segment& s : segments)
        if (s.colour == storedColour(0, 100, 100) && s.to == leader.to) hasLeader = true;
    EXPECT_TRUE(hasLeader);
    bool hasTable = false;
    for (const FilledRect& r : primitivesOf<FilledRect>(w.model().display))
        if (r.left == box.left && r.top == box.top && r.width == box.table.width) hasTable = true;
    EXPECT_TRUE(hasTable);
    const QImage& image = w.backBuffer();
    EXPECT_EQ(image.pixelColor(box.left, box.top + box.table.height / 2), QColor(0, 0, 0));  // grid line
    const StoredColour inside = box.table.background;  // the point's class colour
    EXPECT_EQ(image.pixelColor(box.left + 2, box.top + box.table.height - 2),
              QColor(inside & 0xFF, (inside >> 8) & 0xFF, (inside >> 16) & 0xFF));
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/flag-window.png"));
}

TEST(FlagWindows, DoubleClickOnTheUseRowTogglesTheRightPointAndSetsJobDirty) {
    Program p;
    FormScreen& w = p.open();
    ASSERT_GE(p.job.IdenticalCount, 5);
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, 5), 1);
    w.model().view.FahneProps[1].ShowUseNotUse = true;
    p.flags.refillFlags(w);
    w.renderNow();
    const FlagBox& box = p.flags.flagsOf(w)->at(1);
    ASSERT_EQ(p.job.UseFlags[14], 1);
    p.job.JobDirty = false;
    p.job.AutoRecalc = true;  // the calculation window is closed: no recalculation

    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, cellCentre(box, 4, 2));
    EXPECT_EQ(p.job.UseFlags[14], 0);
    EXPECT_TRUE(p.job.JobDirty);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).table.cells[4][2].text, "");
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, cellCentre(box, 4, 2));
    EXPECT_EQ(p.job.UseFlags[14], 1);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).table.cells[4][2].text, "X");
    EXPECT_EQ(p.calculation.window(), nullptr);

    // Under R .. 3D Dev. the use row addresses no observation: nothing changes, no editor.
    w.model().view.FahneProps[1].showR = true;
    p.flags.refillFlags(w);
    w.renderNow();
    int editors = 0;
    p.flags.setEditorRunner([&](FormEditFahne&) { ++editors; });
    const auto flagsBefore = p.job.UseFlags;
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                       cellCentre(p.flags.flagsOf(w)->at(1), 4, 4));
    EXPECT_EQ(p.job.UseFlags, flagsBefore);
    EXPECT_EQ(editors, 0);
}

TEST(FlagWindows, DropSnapsToTheGridAndEveryDropIsOneUndoStep) {
    Program p;
    FormScreen& w = p.open();
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, placeableRow(w)), 1);
    w.model().view.FahneProps[1].SnaptoGrid = true;
    w.model().view.GridLength = 10;
    w.renderNow();
    const FlagBox& box = p.flags.flagsOf(w)->at(1);
    struct Case {
        int top, expected;
    };
    for (const Case c : {Case{119, 120}, Case{118, 110}, Case{105, 100}, Case{-30, 0}}) {
        const QPoint grab(box.left + 3, box.top + 4);
        const int before = p.steps(w);
        QTest::mousePress(w.surface(), Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(w.surface(), {grab.x() + 7, c.top + 4});
        QTest::mouseRelease(w.surface(), Qt::LeftButton, Qt::NoModifier, {grab.x() + 7, c.top + 4});
        EXPECT_EQ(w.model().view.FahneProps[1].Top, c.expected) << c.top;
        EXPECT_EQ(box.top, c.expected) << c.top;
        EXPECT_EQ(box.left % 10, 0);
        EXPECT_EQ(p.steps(w), before + 1) << c.top;
    }
}

TEST(FlagWindows, CtrlCAloneCopiesThePressedCellAndKeysOnAFlagAreSwallowed) {
    Program p;
    FormScreen& w = p.open();
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    const std::int32_t row = placeableRow(w);
    ASSERT_EQ(p.flags.createFlagOnRow(w, row), 1);
    w.renderNow();
    const FlagBox& box = p.flags.flagsOf(w)->at(1);
    QTest::mouseClick(w.surface(), Qt::LeftButton, Qt::NoModifier, cellCentre(box, 0, 0));
    const float offset = w.model().view.OffsetX;
    QTest::keyClick(w.surface(), Qt::Key_C);
    QTest::keyClick(w.surface(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(w.surface(), Qt::Key_Right);  // would pan the view
    EXPECT_EQ(p.clipboard.writes(), 0);
    EXPECT_EQ(w.model().view.OffsetX, offset);
    QTest::keyClick(w.surface(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(p.clipboard.text(), w.model().cloud.name(row));
    EXPECT_EQ(flagCopyText(box.table, 0, 0, 1, 1),
              box.table.cells[0][0].text + "\t" + box.table.cells[0][1].text + "\r\n" +
                  box.table.cells[1][0].text + "\t" + box.table.cells[1][1].text);
}

TEST(FlagWindows, EditorDeletesOrPutsFlagsOnAllVisiblePoints) {
    Program p;
    FormScreen& w = p.open();
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, placeableRow(w)), 1);
    w.renderNow();

    // OK with "put Flag on all visible Points": flags everywhere, the view stored twice.
    p.flags.setEditorRunner([&](FormEditFahne& editor) {
        EXPECT_EQ(editor.windowTitle().toStdString(), "Edit Flag...");
        editor.box(FlagCheck::CheckShowOnlyPointNumber)->click();
        editor.box(FlagCheck::CheckChangeAll)->click();
        editor.box(FlagCheck::CheckPutAll)->click();
        editor.okButton()->click();
    });
    int before = p.steps(w);
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                       cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
    EXPECT_GT(w.model().view.FahneAnzahl, 1);
    EXPECT_TRUE(w.model().view.FahneProps[1].ShowPointNumber);
    EXPECT_EQ(p.flags.flagsOf(w)->size(), static_cast<std::size_t>(w.model().view.FahneAnzahl));
    EXPECT_GE(p.steps(w), before + 2);  // press/release drop, OK, the layout run

    // "Delete &All": no flag left, one more undo step; the numbers start again at 1.
    p.flags.setEditorRunner([](FormEditFahne& editor) { editor.deleteAllButton()->click(); });
    before = p.steps(w);
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                       cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
    EXPECT_TRUE(p.flags.flagsOf(w)->empty());
    EXPECT_EQ(w.model().view.FahneAnzahl, 0);
    EXPECT_GT(p.steps(w), before);
}

TEST(FlagWindows, FlagsFollowUseFlagChangesAndComeBackWithUndoSteps) {
    Program p;
    FormScreen& w = p.open();
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, 5), 1);
    w.model().view.FahneProps[1].ShowUseNotUse = true;
    p.flags.refillFlags(w);
    p.job.UseFlags[13] = 0;
    p.events.publish(JobEvent::UseFlagsChanged);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).table.cells[4][1].text, "");
    // A units change refills the flags in the new format.
    p.job.LengthFormat = "0.0";
    p.events.publish(JobEvent::UnitsChanged);
    const std::string actualX = p.flags.flagsOf(w)->at(1).table.cells[1][1].text;
    ASSERT_NE(actualX.find('.'), std::string::npos);
    EXPECT_EQ(actualX.size() - actualX.find('.'), 2u) << actualX;

    // A drop moves the flag; "&last View" brings the flag back where it was.
    p.flags.refillFlags(w);
    w.renderNow();
    const FlagBox before = p.flags.flagsOf(w)->at(1);
    w.storeView();
    const QPoint grab(before.left + 3, before.top + 3);
    QTest::mousePress(w.surface(), Qt::LeftButton, Qt::NoModifier, grab);
    QTest::mouseMove(w.surface(), grab + QPoint(60, 40));
    QTest::mouseRelease(w.surface(), Qt::LeftButton, Qt::NoModifier, grab + QPoint(60, 40));
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).left, before.left + 60);
    p.run(Command::LastView);
    ASSERT_EQ(p.flags.flagsOf(w)->count(1), 1u);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).left, before.left);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).top, before.top);
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).table, before.table);
}

TEST(FlagWindows, SavedViewWithFlagsSurvivesSaveAndOpen) {
    Program p;
    FormScreen& first = p.open();
    first.model().MouseX = 10;
    first.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(first, 5), 1);
    first.model().MouseX = 300;
    first.model().MouseY = 200;
    ASSERT_EQ(p.flags.createFlagOnRow(first, placeableRow(first) == 5 ? 6 : placeableRow(first)), 2);
    first.renderNow();
    const FlagBoxes drawn = *p.flags.flagsOf(first);
    const int views = p.job.ViewCount;
    p.names = {"With flags"};
    p.run(Command::SaveView);
    ASSERT_EQ(p.job.ViewCount, views + 1);

    JobFileWriteNotes notes;
    const std::string bytes = writeJobFile(p.job, notes);
    JobFileReadResult read = readJobFile(bytes, probeJobFileHeader(bytes));
    adoptJobFileItems(p.job, std::move(read.job));
    p.events.publish(JobEvent::SavedViewsChanged);

    FormScreen& second = p.open();
    second.renderNow();
    emit p.main.comboSaveView()->activated(views);
    QApplication::processEvents();
    second.renderNow();
    const FlagBoxes& restored = *p.flags.flagsOf(second);
    ASSERT_EQ(restored.size(), 2u);
    for (const auto& [n, box] : drawn) {
        ASSERT_EQ(restored.count(n), 1u) << n;
        EXPECT_EQ(restored.at(n).left, box.left) << n;
        EXPECT_EQ(restored.at(n).top, box.top) << n;
        EXPECT_EQ(restored.at(n).table, box.table) << n;
        EXPECT_TRUE(restored.at(n).visible) << n;
    }
    EXPECT_EQ(second.model().view.FlagOfPoint, first.model().view.FlagOfPoint);
}

TEST(FlagWindows, DynamicFlagFollowsTheMouseWithOneNumber) {
    Program p;
    FormScreen& w = p.open();
    p.run(Command::DynamicFlag);
    ASSERT_TRUE(p.flags.dynamicFlagMode());
    EXPECT_TRUE(p.main.action(Command::DynamicFlag)->isChecked());
    EXPECT_FALSE(p.main.toolbar(Toolbar::ToolbarSaveView)->isEnabled());
    int moved = 0;
    for (std::int32_t r = 1; r <= p.job.IdenticalCount && moved < 4; ++r) {
        if (w.model().cloud(r, cloud::Visible) != 1) continue;
        QTest::mouseMove(w.surface(), pixelOf(w, r));
        ScreenNavigationWindows::of(w)->flushMove();
        ++moved;
    }
    ASSERT_GT(moved, 1);
    EXPECT_EQ(p.flags.flagsOf(w)->size(), 1u);
    EXPECT_EQ(w.model().view.FahneAnzahl, 1);
    p.run(Command::DynamicFlag);
    EXPECT_FALSE(p.flags.dynamicFlagMode());
    EXPECT_TRUE(p.main.toolbar(Toolbar::ToolbarSaveView)->isEnabled());
}

// The dynamic flag stayed on the picture after F6 was switched off and the mouse had left its
// point (in a narrow window over the colour bar): switching the mode off takes it away, and only
// it, from the window and from the view a new window would take.
TEST(FlagWindows, SwitchingTheDynamicFlagOffTakesItsFlagAway) {
    Program p;
    FormScreen& w = p.open();
    const std::int32_t kept = placeableRow(w);
    ASSERT_NE(kept, 0);
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, kept), 1);  // a flag of the user's own
    p.run(Command::DynamicFlag);
    std::int32_t hovered = 0;
    for (std::int32_t r = 1; r <= p.job.IdenticalCount && hovered == 0; ++r)
        if (r != kept && w.model().cloud(r, cloud::Visible) == 1) hovered = r;
    ASSERT_NE(hovered, 0);
    QTest::mouseMove(w.surface(), pixelOf(w, hovered));
    ScreenNavigationWindows::of(w)->flushMove();
    ASSERT_EQ(p.flags.flagsOf(w)->size(), 2u);
    ASSERT_EQ(w.model().view.FlagOfPoint[hovered], 2);
    QTest::mouseMove(w.surface(), QPoint(2, 2));  // away from every point
    ScreenNavigationWindows::of(w)->flushMove();
    ASSERT_EQ(p.flags.flagsOf(w)->size(), 2u);

    p.run(Command::DynamicFlag);
    w.renderNow();
    ASSERT_FALSE(p.flags.dynamicFlagMode());
    EXPECT_EQ(p.flags.flagsOf(w)->size(), 1u);
    EXPECT_EQ(p.flags.flagsOf(w)->count(1), 1u);
    EXPECT_EQ(w.model().view.FahneAnzahl, 1);
    EXPECT_EQ(w.model().view.FlagOfPoint[hovered], 0);
    EXPECT_EQ(w.model().view.FlagOfPoint[kept], 1);
    EXPECT_EQ(p.job.DefaultScreenProperties.FlagOfPoint[hovered], 0);
    FormScreen& next = p.open();
    EXPECT_EQ(p.flags.flagsOf(next)->count(2), 0u);
}

TEST(FlagWindows, ColourBarApplyRefillsTheFlagsWithTheNewClassColours) {
    Program p;
    FormScreen& w = p.open();
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, 5), 1);
    // A stale table shows whether the apply refills it.
    p.flags.flagsOf(w)->at(1).table.background = storedColour(1, 2, 3);
    p.main.action(Command::ColorBar)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(p.colourBar.dialog());
    p.colourBar.dialog()->positiveCountBox()->setText("1");
    p.colourBar.dialog()->positiveCountBox()->setModified(true);
    emit p.colourBar.dialog()->positiveCountBox()->editingFinished();
    p.colourBar.dialog()->negativeCountBox()->setText("1");
    p.colourBar.dialog()->negativeCountBox()->setModified(true);
    emit p.colourBar.dialog()->negativeCountBox()->editingFinished();
    const int stepsBefore = p.steps(w);
    p.colourBar.dialog()->applyButton()->click();
    EXPECT_EQ(p.steps(w), stepsBefore + 1);  // Apply stores the view
    ASSERT_EQ(w.model().view.AnzKlassenPos, 1);
    const auto colour = static_cast<StoredColour>(std::lround(w.model().cloud(5, cloud::Colour)));
    EXPECT_EQ(p.flags.flagsOf(w)->at(1).table.background, colour);
    EXPECT_NE(colour, storedColour(1, 2, 3));
}

TEST(FlagWindows, UseMarkWithTheCalculationWindowOpenRecalculatesOnlyWithAutoRecalc) {
    Program p;
    FormScreen& w = p.open();
    PointTable* table = p.calculation.ensureOpen().pointTable();
    ASSERT_NE(table, nullptr);
    QSignalSpy recalculations(table, &PointTable::recalculationRequested);
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, 5), 1);
    w.model().view.FahneProps[1].ShowUseNotUse = true;
    p.flags.refillFlags(w);
    w.renderNow();
    const QPoint useX = cellCentre(p.flags.flagsOf(w)->at(1), 4, 1);

    p.job.AutoRecalc = false;
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, useX);
    EXPECT_EQ(p.job.UseFlags[13], 0);
    EXPECT_EQ(recalculations.count(), 0);
    p.job.AutoRecalc = true;
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, useX);
    EXPECT_EQ(p.job.UseFlags[13], 1);
    EXPECT_EQ(recalculations.count(), 1);
}

// "&Fonts" answered with the offered font at 24 pt, italic.
class TwentyFourPointItalic : public platform::FontDialogs {
  public:
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice& offered, int) override {
        platform::FontChoice chosen = offered;
        chosen.size = 24;
        chosen.italic = true;
        return chosen;
    }
    std::optional<std::int32_t> chooseColor(std::int32_t colour) override { return colour; }
};

// The rows of the back buffer inside `area` that hold a pixel of `ink`.
int inkRows(const QImage& picture, const QRect& area, QRgb ink) {
    int rows = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), picture.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), picture.width() - 1); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFFu) == (ink & 0xFFFFFFu)) {
                ++rows;
                break;
            }
    return rows;
}

// A graphics window in a frame of `width` x `height` px, zoomed to all its points and drawn;
// null where the window has no frame.
FormScreen* openSized(Program& p, int width, int height) {
    FormScreen& w = p.open();
    auto* frame = qobject_cast<QMdiSubWindow*>(w.parentWidget());
    if (!frame) return nullptr;
    frame->resize(width, height);
    QApplication::processEvents();
    p.run(Command::ZoomAll);
    w.renderNow();
    return &w;
}

TEST(FlagWindows, FontChosenInTheEditorIsTheFontTheCellsAreDrawnIn) {
    Program p(std::make_unique<TwentyFourPointItalic>());
    FormScreen* const window = openSized(p, 1150, 850);
    ASSERT_NE(window, nullptr);
    FormScreen& w = *window;
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, placeableRow(w)), 1);
    w.renderNow();
    const int plainHeight = p.flags.flagsOf(w)->at(1).table.rowHeight[1];

    // Flags this large do not all fit: the run says how many it puts and is told to go on.
    p.prompter.answer(platform::Answer::Yes);
    p.flags.setEditorRunner([](FormEditFahne& editor) {
        editor.fontsButton()->click();
        editor.box(FlagCheck::CheckChangeAll)->click();
        editor.box(FlagCheck::CheckPutAll)->click();
        editor.placementOption(FlagPlacement::ScreenBorder)->click();
        editor.okButton()->click();
    });
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                       cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
    w.renderNow();
    ASSERT_GT(p.flags.flagsOf(w)->size(), 1u);
    for (const auto& [number, box] : *p.flags.flagsOf(w)) {
        EXPECT_EQ(box.table.font.size, 24) << number;
        EXPECT_TRUE(box.table.font.italic) << number;
    }
    // The labels carry the flag's font, and the picture shows the text grown with the cells:
    // the "Actual" legend's ink spans more rows than a whole row of the window's own font.
    int labelled = 0;
    for (const Primitive& item : w.model().display.items)
        if (const auto* t = std::get_if<TextLabel>(&item); t && t->text == "Actual") {
            EXPECT_EQ(t->font.size, 24);
            EXPECT_TRUE(t->font.italic);
            EXPECT_EQ(t->align, TextAlign::LeftCentre);
            ++labelled;
        }
    const auto shown = std::count_if(p.flags.flagsOf(w)->begin(), p.flags.flagsOf(w)->end(),
                                     [](const auto& entry) { return entry.second.visible; });
    EXPECT_EQ(labelled, shown);
    const FlagBox& box = p.flags.flagsOf(w)->at(1);
    const QRect actualCell(box.left, box.top + box.table.rowHeight[0], box.table.columnWidth[0],
                           box.table.rowHeight[1]);
    EXPECT_GT(box.table.rowHeight[1], plainHeight);
    EXPECT_GT(inkRows(w.backBuffer(), actualCell.adjusted(1, 1, -1, -1), qRgb(0, 0, 0)), plainHeight);
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.backBuffer().save(QString::fromUtf8(dir) + "/flags-24pt-italic.png");
}

TEST(FlagWindows, AFullPictureSaysSoOnceAndKeepsTheFlagsItPlaced) {
    Program p;
    FormScreen* const window = openSized(p, 320, 420);
    ASSERT_NE(window, nullptr);
    FormScreen& w = *window;
    w.model().MouseX = 0;
    w.model().MouseY = 0;
    const std::int32_t first = placeableRow(w);
    ASSERT_EQ(p.flags.createFlagOnRow(w, first != 0 ? first : 1), 1);
    w.renderNow();
    p.flags.setEditorRunner([](FormEditFahne& editor) {
        editor.box(FlagCheck::CheckPutAll)->click();
        editor.placementOption(FlagPlacement::ScreenBorder)->click();
        editor.okButton()->click();
    });
    const FlagBox& box = p.flags.flagsOf(w)->at(1);
    // The points outnumber the cells: the run says how many flags it can put and is told to go on.
    p.prompter.answer(platform::Answer::Yes);
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier, cellCentre(box, 0, 0));
    const auto texts = p.prompter.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().rfind("This would put ", 0), 0u) << texts.front();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(kScreenFullMessage)), 1);
    EXPECT_GE(p.flags.flagsOf(w)->size(), 2u);  // the flags placed before the picture filled stay
    EXPECT_LT(p.flags.flagsOf(w)->size(), static_cast<std::size_t>(p.job.IdenticalCount) + 1);
}

// A border run on the demo job: every flag stands in its own cell, none over another, and the
// flag the user put before the run stays in sight, uncovered.
TEST(FlagWindows, BorderRunFlagsEachStandInTheirOwnCell) {
    for (const auto rule : {FlagPlacement::ScreenBorder, FlagPlacement::NextToBorder}) {
        SCOPED_TRACE(static_cast<int>(rule));
        Program p;
        FormScreen* const window = openSized(p, 1150, 850);
        ASSERT_NE(window, nullptr);
        FormScreen& w = *window;
        const std::int32_t first = placeableRow(w);
        ASSERT_NE(first, 0);
        const QPoint at = pixelOf(w, first);
        w.model().MouseX = static_cast<float>(at.x());
        w.model().MouseY = static_cast<float>(at.y());
        ASSERT_EQ(p.flags.createFlagOnRow(w, first), 1);
        w.renderNow();
        p.flags.setEditorRunner([rule](FormEditFahne& editor) {
            editor.box(FlagCheck::CheckPutAll)->click();
            editor.placementOption(rule)->click();
            editor.okButton()->click();
        });
        QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                           cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
        w.renderNow();
        const FlagBoxes& boxes = *p.flags.flagsOf(w);
        ASSERT_GT(boxes.size(), 2u);
        ASSERT_TRUE(boxes.contains(1));  // the flag put before the run
        std::vector<std::pair<std::int16_t, QRect>> placed;
        for (const auto& [number, box] : boxes)
            placed.emplace_back(number, QRect(box.left, box.top, box.table.width, box.table.height));
        for (std::size_t i = 0; i < placed.size(); ++i)
            for (std::size_t k = i + 1; k < placed.size(); ++k)
                EXPECT_FALSE(placed[i].second.intersects(placed[k].second))
                    << "flags " << placed[i].first << " and " << placed[k].first << " overlap";
        const std::vector<std::int16_t> inSight = flagsInSight(boxes, w.model().width, w.model().height);
        EXPECT_NE(std::find(inSight.begin(), inSight.end(), std::int16_t{1}), inSight.end());
        EXPECT_TRUE(p.prompter.shown().empty());  // the demo's few points fit: nothing to ask or say
    }
}

// A border run on 3000 points, far more than the picture has cells for: the run says how many
// flags it puts before it puts any, fills the free cells, and the flag the user put before stays in
// sight, not covered by a border flag.
TEST(FlagWindows, ABorderRunWithMorePointsThanCellsAsksFirstAndKeepsTheEarlierFlagInSight) {
    Program p(std::make_unique<NoFontDialogs>(), testing::makePointJob(3000));
    FormScreen& w = p.open();
    const std::int32_t first = placeableRow(w);
    ASSERT_NE(first, 0);
    const QPoint at = pixelOf(w, first);
    w.model().MouseX = static_cast<float>(at.x());
    w.model().MouseY = static_cast<float>(at.y());
    ASSERT_EQ(p.flags.createFlagOnRow(w, first), 1);
    w.renderNow();
    p.flags.setEditorRunner([](FormEditFahne& editor) {
        editor.box(FlagCheck::CheckPutAll)->click();
        editor.placementOption(FlagPlacement::ScreenBorder)->click();
        editor.okButton()->click();
    });
    p.prompter.answer(platform::Answer::Yes);
    QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                       cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
    w.renderNow();
    const auto texts = p.prompter.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().rfind("This would put ", 0), 0u) << texts.front();
    const FlagBoxes& boxes = *p.flags.flagsOf(w);
    ASSERT_GT(boxes.size(), 2u);
    const std::vector<std::int16_t> inSight = flagsInSight(boxes, w.model().width, w.model().height);
    EXPECT_EQ(inSight.size(), boxes.size());  // none covered, the earlier flag included
}

// "put Flag on all visible Points" on a generated job of 3000 points: far more flags than the
// window can show side by side, so the user is asked first; "No" leaves the window as it was.
// "Yes" runs the layout as long work: the progress window opens and advances, the job's commands
// and the window wait meanwhile, and Stop ends the run keeping the flags made so far, stored as
// one step of the undo ring.
TEST(FlagWindows, PutFlagOnAllPointsOfALargeJobAsksFirstShowsProgressAndStops) {
    constexpr std::int32_t kPoints = 3000;
    Program p(std::make_unique<NoFontDialogs>(), testing::makePointJob(kPoints));
    FormScreen& w = p.open();
    testing::FakeProgress progress;
    testing::FakeEventPump events;
    p.flags.setLongWork(progress, events, std::chrono::milliseconds(0));
    w.model().MouseX = 10;
    w.model().MouseY = 10;
    ASSERT_EQ(p.flags.createFlagOnRow(w, placeableRow(w)), 1);
    w.renderNow();
    p.flags.setEditorRunner([](FormEditFahne& editor) {
        editor.box(FlagCheck::CheckPutAll)->click();
        editor.okButton()->click();
    });
    const auto doubleClickFlag = [&] {
        QTest::mouseDClick(w.surface(), Qt::LeftButton, Qt::NoModifier,
                           cellCentre(p.flags.flagsOf(w)->at(1), 0, 0));
    };
    const auto askedQuestions = [&] {
        std::vector<std::string> asked;
        for (const testing::ShownBox& box : p.prompter.shown())
            if (box.buttons == platform::Buttons::YesNo) asked.push_back(box.text);
        return asked;
    };

    p.prompter.answer(platform::Answer::No);
    int before = p.steps(w);
    doubleClickFlag();
    ASSERT_EQ(askedQuestions().size(), 1u);
    EXPECT_NE(askedQuestions()[0].find("could not be read"), std::string::npos) << askedQuestions()[0];
    EXPECT_EQ(p.flags.flagsOf(w)->size(), 1u);
    EXPECT_TRUE(progress.captions.empty());
    const int stepsWithoutRun = p.steps(w) - before;  // the drop and the editor's OK

    ASSERT_TRUE(p.main.action(Command::CalculationWindow)->isEnabled());
    bool waited = true;
    progress.onValue = [&](int percent) {
        waited = waited && !p.main.action(Command::CalculationWindow)->isEnabled() &&
                 !w.parentWidget()->isEnabled();
        if (percent >= 50) progress.stop = true;
    };
    p.prompter.answer(platform::Answer::Yes);
    before = p.steps(w);
    doubleClickFlag();
    EXPECT_TRUE(p.prompter.exhausted());
    EXPECT_EQ(askedQuestions().size(), 2u);
    EXPECT_EQ(progress.captions, std::vector<std::string>{kFlagRunCaption});
    ASSERT_FALSE(progress.values.empty());
    EXPECT_LT(progress.values.front(), 50);
    EXPECT_EQ(progress.values.back(), 50);
    EXPECT_FALSE(progress.isOpen);
    EXPECT_GT(events.calls(), 0);
    EXPECT_TRUE(waited);
    EXPECT_TRUE(p.main.action(Command::CalculationWindow)->isEnabled());
    EXPECT_TRUE(w.parentWidget()->isEnabled());
    // Stop in the middle: flags on about half of the points, every one of them kept and drawn.
    const std::size_t made = p.flags.flagsOf(w)->size();
    EXPECT_GT(made, static_cast<std::size_t>(kPoints / 4));
    EXPECT_LT(made, static_cast<std::size_t>(kPoints * 3 / 4));
    EXPECT_EQ(w.model().view.FlagOfPoint.flaggedRows().size(), made);
    EXPECT_EQ(p.steps(w), before + stepsWithoutRun + 1);  // the run is stored once
}

}  // namespace
}  // namespace kal
