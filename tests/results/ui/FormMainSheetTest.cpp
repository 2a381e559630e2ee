#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "app/SheetWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "calculation/ui/PointTable.h"
#include "engine/TransformModel.h"
#include "results/ui/FormMainSheet.h"
#include "shared/IniFile.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/WindowPos.h"
#include "shared/ui/DataGrid.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/MainJobWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/TempDir.h"
#include "support/ui/GridFit.h"

namespace kal {
namespace {

void saveCapture(QWidget& w, const char* name) {
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/" + name));
}

// The sheet as a user sees it in the main window: wide enough for most of its columns.
void captureSheetInMainWindow(QWidget& main, QMdiSubWindow& sub, const char* name) {
    main.resize(1300, 700);
    main.show();
    sub.setGeometry(0, 0, 1250, 420);
    sub.raise();
    QApplication::processEvents();
    saveCapture(main, name);
}

// A sheet window on its own, with scripted message boxes and clipboard.
struct Sheet {
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeClipboard clipboard;
    std::unique_ptr<FormMainSheet> w;

    explicit Sheet(JobState j) : job(std::move(j)) {
        applyUnitSettings(job);
        w = std::make_unique<FormMainSheet>(job, platform::Services{&prompter, &clipboard});
        w->resize(900, 500);
        w->show();
    }
    std::string cell(int row, int column) const { return w->shownRows().text(row, column); }
    void key(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(w->grid(), &press);
    }
    void clickCell(int row, int column) {
        const QRect r = w->grid()->visualRect(w->grid()->gridModel().index(row, column));
        QMouseEvent press(QEvent::MouseButtonPress, r.center(),
                          w->grid()->viewport()->mapToGlobal(r.center()), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(w->grid()->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, r.center(),
                            w->grid()->viewport()->mapToGlobal(r.center()), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w->grid()->viewport(), &release);
    }
};

// A job whose dev.x column holds 10, 9, 100 and 9.5 millimetres: as texts "10.000" < "100.000" <
// "9.000" < "9.500"; as numbers 9, 9.5, 10, 100.
JobState deviationsJob() {
    JobState job = testing::makePointJob(4);
    const double dx[] = {10, 9, 100, 9.5};
    for (int k = 1; k <= 4; ++k) job.MCS_X.set(k, job.OCS_X[k] + dx[k - 1]);
    job.MCSt_X = job.MCS_X;  // as a load leaves it
    return job;
}

std::vector<std::string> column(const Sheet& s, int c) {
    std::vector<std::string> out;
    for (int row = 0; row < s.w->shownRows().rowCount(); ++row) out.push_back(s.cell(row, c));
    return out;
}

TEST(FormMainSheet, TitleClicksSortByValueAscendingDescendingAscendingAndARefillKeepsTheOrder) {
    Sheet s(deviationsJob());
    ASSERT_TRUE(s.w->fill());
    EXPECT_EQ(s.w->windowTitle(), "Main Sheet - Data in  - OCS System");
    EXPECT_EQ(s.w->grid()->objectName(), "MSFlexGrid1");
    const std::vector<std::string> ascending{"9.000", "9.500", "10.000", "100.000"};
    const std::vector<std::string> descending{"100.000", "10.000", "9.500", "9.000"};
    QHeaderView* titles = s.w->grid()->horizontalHeader();
    emit titles->sectionClicked(7);
    EXPECT_EQ(column(s, 7), ascending);
    emit titles->sectionClicked(7);
    EXPECT_EQ(column(s, 7), descending);
    emit titles->sectionClicked(7);
    EXPECT_EQ(column(s, 7), ascending);
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"P2", "P4", "P1", "P3"}));
    // A title click selects no column; the current cell moves into the sorted column.
    EXPECT_EQ(s.w->grid()->currentIndex().column(), 7);
    EXPECT_EQ(s.w->grid()->selectedRange().lastRow - s.w->grid()->selectedRange().firstRow, 0);

    // A new calculation's refill shows the new contents in the same order.
    s.job.MCS_X.set(3, s.job.OCS_X[3] + 1);
    s.job.MCSt_X.set(3, s.job.MCS_X[3]);  // what the calculation stores
    ASSERT_TRUE(s.w->fill());
    EXPECT_EQ(column(s, 7), (std::vector<std::string>{"1.000", "9.000", "9.500", "10.000"}));
    EXPECT_EQ(s.w->grid()->currentIndex().row(), 3);  // the last row, in the sort column
    EXPECT_EQ(s.w->grid()->currentIndex().column(), 7);

    emit titles->sectionClicked(0);  // another title: ascending
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"P1", "P2", "P3", "P4"}));
}

TEST(FormMainSheet, CtrlCCopiesTheBlockWithTheTitleLineAndOtherKeysDoNothing) {
    Sheet s(deviationsJob());
    s.job.TabelHeadMainSheet = true;
    ASSERT_TRUE(s.w->fill());
    s.w->grid()->selectBlock(0, 1, 1, 3);
    s.key(Qt::Key_C, Qt::ControlModifier);
    const std::string expected = "MCS.x\tMCS.y\tMCS.z\t\r\n" + s.cell(0, 1) + "\t" + s.cell(0, 2) + "\t" +
                                 s.cell(0, 3) + "\r\n" + s.cell(1, 1) + "\t" + s.cell(1, 2) + "\t" +
                                 s.cell(1, 3);
    EXPECT_EQ(s.clipboard.text(), expected);
    EXPECT_EQ(s.job.ClipboardText, expected);

    // Ctrl+Shift+C copies nothing; arrows move nothing.
    s.clipboard.setText("before");
    s.key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(s.clipboard.text(), "before");
    const QModelIndex current = s.w->grid()->currentIndex();
    s.key(Qt::Key_Down, Qt::NoModifier);
    s.key(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(s.w->grid()->currentIndex(), current);

    // The sheet's copy takes Ctrl+C before a menu shortcut of the same key.
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    override.ignore();
    QApplication::sendEvent(s.w->grid(), &override);
    EXPECT_TRUE(override.isAccepted());
}

TEST(FormMainSheet, RightButtonPreparesTheEditMenuFromTheSelection) {
    Sheet s(deviationsJob());
    s.job.TabelHeadMainSheet = false;
    s.job.MCS_Name[2] = "12abc";
    ASSERT_TRUE(s.w->fill());
    emit s.w->grid()->horizontalHeader()->sectionClicked(7);  // sorted: P2, P4, P1, P3
    s.clickCell(0, 7);
    s.w->grid()->selectBlock(0, 7, 2, 8);
    QPoint popupAt;
    QObject::connect(s.w.get(), &FormMainSheet::contextMenuRequested,
                     [&](const QPoint& at) { popupAt = at; });
    const QRect r = s.w->grid()->visualRect(s.w->grid()->gridModel().index(1, 7));
    QMouseEvent press(QEvent::MouseButtonPress, r.center(), s.w->grid()->viewport()->mapToGlobal(r.center()),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(s.w->grid()->viewport(), &press);
    EXPECT_EQ(popupAt, s.w->grid()->viewport()->mapToGlobal(r.center()));
    EXPECT_EQ(s.job.AuswahlPkt, (std::vector<double>{9, 9.5, 10}));  // values of the anchor column, as shown
    EXPECT_EQ(s.job.AnzAuswahl, 3);
    EXPECT_EQ(s.job.ClipboardText, s.cell(0, 7) + "\t" + s.cell(0, 8) + "\t\r\n" + s.cell(1, 7) + "\t" +
                                       s.cell(1, 8) + "\t\r\n" + s.cell(2, 7) + "\t" + s.cell(2, 8) +
                                       "\t\r\n");
    EXPECT_EQ(s.w->grid()->selectedRange(), (GridRange{0, 7, 2, 8}));  // the selection stays

    // Anchored in the names: their leading numbers.
    s.clickCell(0, 0);
    s.w->grid()->selectBlock(0, 0, 3, 0);
    s.w->rightButtonSelection({});
    EXPECT_EQ(s.job.AuswahlPkt, (std::vector<double>{12, 0, 0, 0}));
}

TEST(FormMainSheet, MovingTheCurrentCellHighlightsItsRowAndShowsTheRowLeft) {
    Sheet s(deviationsJob());
    ASSERT_TRUE(s.w->fill());
    std::vector<QString> panel, points;
    QObject::connect(s.w.get(), &FormMainSheet::rowLeftShown, [&](const QString& t) { panel.push_back(t); });
    QObject::connect(s.w.get(), &FormMainSheet::currentPointChanged,
                     [&](const QString& n) { points.push_back(n); });
    EXPECT_EQ(s.w->sheet().highlightedRow(), std::nullopt);  // a fill highlights nothing
    s.clickCell(1, 2);
    s.clickCell(2, 5);
    ASSERT_EQ(panel.size(), 2u);
    EXPECT_EQ(panel[0], "4");  // the fill left the current cell in the last row
    EXPECT_EQ(panel[1], "2");
    EXPECT_EQ(points.back(), "P3");
    EXPECT_EQ(s.w->sheet().highlightedRow(), 2);
    EXPECT_EQ(s.w->shownRows().style(2, 9).background, kSheetHighlight);
    EXPECT_EQ(s.w->shownRows().style(1, 9).background, kSheetWhite);
}

// The current row's digits on its dark red: the cell's ink (the pixel least like the back colour)
// must be light, or the picked row cannot be read.
TEST(FormMainSheet, TheCurrentRowShowsLightDigitsOnItsDarkRed) {
    Sheet s(deviationsJob());
    ASSERT_TRUE(s.w->fill());
    s.clickCell(2, 5);
    QApplication::processEvents();
    DataGrid& grid = *s.w->grid();
    const QImage picture = grid.viewport()->grab().toImage();
    saveCapture(*s.w, "small-main-sheet-current-row.png");
    for (const int column : {1, 2, 9}) {  // not the current cell, which the selection paints
        SCOPED_TRACE(column);
        ASSERT_FALSE(s.cell(2, column).empty());
        const QRect cell = grid.visualRect(grid.gridModel().index(2, column)).adjusted(2, 2, -2, -2);
        const QColor back(kSheetHighlight.red, kSheetHighlight.green, kSheetHighlight.blue);
        QColor ink = back;
        int farthest = 0, backPixels = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = picture.pixelColor(QPoint(x, y) * picture.devicePixelRatio());
                const int distance = std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
                                     std::abs(c.blue() - back.blue());
                if (distance == 0) ++backPixels;
                if (distance > farthest) farthest = distance, ink = c;
            }
        }
        EXPECT_GT(backPixels, cell.width() * cell.height() / 2) << "the row is no longer dark red";
        EXPECT_GT(ink.lightness(), 180) << "ink " << ink.name().toStdString();
    }
}

TEST(FormMainSheet, AnEmptyJobShowsTheMessageAndKeepsTheSheet) {
    Sheet s(deviationsJob());
    ASSERT_TRUE(s.w->fill());
    s.job = JobState();
    EXPECT_FALSE(s.w->fill());
    EXPECT_EQ(s.prompter.texts(),
              (std::vector<std::string>{"No Data found; Problem in Modul FuellenHaupttabelle"}));
    EXPECT_EQ(s.w->grid()->gridModel().rowCount(), 4);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(FormMainSheet, ColumnWidthsComeFromTheSettingsFileAndAreKeptForTheClose) {
    testing::TempDir dir;
    Sheet s(deviationsJob());
    EXPECT_TRUE(s.w->columnWidthEntries().empty());  // never filled: no widths to store
    s.job.IniFilePath =
        dir.write("k.ini", "[Cols]\r\nCol_1=0\r\nCol_2=abc\r\nCol_3=2000\r\n\r\n[LastEntry]\r\n");
    ASSERT_TRUE(s.w->fill());
    const double dpi = s.w->logicalDpiX();
    // Col_5 was never stored: the column fits its title and texts in this grid's font.
    EXPECT_EQ(s.w->grid()->columnWidth(5), s.w->grid()->fittedColumnWidth(5));
    EXPECT_EQ(s.w->grid()->columnWidth(1), twipsToPixels(900, dpi));
    EXPECT_EQ(s.w->grid()->columnWidth(2), twipsToPixels(900, dpi));
    EXPECT_EQ(s.w->grid()->columnWidth(3), twipsToPixels(2000, dpi));
    s.w->grid()->setColumnWidth(4, 150);  // the user drags a border
    // The settings file's widths and the user's are kept for the close; the fitted columns are
    // not, so the next fill fits them to its own numbers.
    const auto entries = s.w->columnWidthEntries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].key, "Col_1");
    EXPECT_EQ(entries[0].value.text(), "900");
    EXPECT_EQ(entries[1].value.text(), "900");
    EXPECT_EQ(entries[2].value.text(), "2000");
    EXPECT_EQ(entries[3].key, "Col_4");
    EXPECT_EQ(entries[3].value.text(), std::to_string(static_cast<int>(pixelsToTwips(150, dpi))));
}

// A refill (every calculation makes one) fits the columns without a width to their new texts and
// keeps the widths the user dragged and those of the settings file.
TEST(FormMainSheet, ARefillFitsTheColumnsWithoutAWidthAndKeepsTheUsersAndTheStoredOnes) {
    testing::TempDir dir;
    Sheet s(deviationsJob());
    s.job.IniFilePath = dir.write("k.ini", "[Cols]\r\nCol_8=600\r\n\r\n[LastEntry]\r\n");
    ASSERT_TRUE(s.w->fill());
    const double dpi = s.w->logicalDpiX();
    const int narrow = s.w->grid()->columnWidth(7);
    s.w->grid()->setColumnWidth(9, 222);
    for (int k = 1; k <= 4; ++k) {  // deviations of a million millimetres: longer texts
        s.job.MCS_X.set(k, s.job.OCS_X[k] - 1.0e6);
        s.job.MCS_Y.set(k, s.job.OCS_Y[k] - 1.0e6);
    }
    s.job.MCSt_X = s.job.MCS_X;
    s.job.MCSt_Y = s.job.MCS_Y;
    ASSERT_TRUE(s.w->fill());
    EXPECT_GT(s.w->grid()->columnWidth(7), narrow);
    EXPECT_EQ(s.w->grid()->columnWidth(8), twipsToPixels(600, dpi));  // stored: wins, though it cuts
    EXPECT_EQ(s.w->grid()->columnWidth(9), 222);                      // the user's
    const std::vector<std::string> cut = testing::cutCellTexts(*s.w->grid());
    ASSERT_FALSE(cut.empty());
    for (const std::string& c : cut) {
        const int column = std::stoi(c.substr(c.find(',') + 1));
        EXPECT_TRUE(column == 8 || column == 9) << c;
    }
}

TEST(FormMainSheet, GridFollowsTheWindowDownToItsSmallestSize) {
    Sheet s(deviationsJob());
    const double dpi = s.w->logicalDpiX();
    s.w->resize(twipsToPixels(6000, dpi), twipsToPixels(4000, dpi));
    QApplication::processEvents();
    EXPECT_NEAR(s.w->grid()->width(), twipsToPixels(6000 - 210, dpi), 1);
    EXPECT_NEAR(s.w->grid()->height(), twipsToPixels(4000 - 460, dpi), 1);
    const QSize before = s.w->grid()->size();
    s.w->resize(twipsToPixels(100, dpi), twipsToPixels(4000, dpi));
    QApplication::processEvents();
    EXPECT_EQ(s.w->grid()->size(), before);
}

// The program's pieces around the sheet: the main window, the job commands that open the demo job,
// the calculation window and the sheet's wiring.
struct Program {
    JobState job;
    testing::FakePrompter prompter;
    testing::FakeFileDialogs dialogs;
    JobEvents events;
    FormMain main{job, prompter};
    MainJobWindow jobWindow{main, job};
    JobCommands commands{job, prompter, dialogs, jobWindow};
    CalculationWindows calculation{job, events, main, prompter};
    SheetWindows sheets{job, events, main, prompter};

    Program() {
        main.setSplashInterval(-1);
        jobWindow.setJobEvents(&events);
    }
    bool openDemoJob() { return commands.openJobAt(std::string(KALVORETH_EXAMPLES) + "/demo-job.tfo"); }
};

// Every row of the sheet against the engine: the transformed MCS point the calculation stored, the
// OCS point and their deviation, in the display unit.
void expectSheetAgreesWithTheEngine(const JobState& job, const FormMainSheet& w) {
    const MainSheet& sheet = w.sheet();
    ASSERT_EQ(sheet.rowCount(), job.IdenticalCount + job.McsOnlyCount + job.OcsOnlyCount);
    auto L = [&](double mm) { return formatNumber(mm * job.LengthFactor, job.LengthFormat); };
    for (int k = 1; k <= job.IdenticalCount; ++k) {
        SCOPED_TRACE(k);
        double x, y, z;
        transformPoint(job, job.MCS_X[k], job.MCS_Y[k], job.MCS_Z[static_cast<std::size_t>(k)], x, y, z);
        EXPECT_NEAR(*sheet.value(k - 1, 1), x * job.LengthFactor, 1e-6);
        EXPECT_NEAR(*sheet.value(k - 1, 3), z * job.LengthFactor, 1e-6);
        EXPECT_EQ(sheet.text(k - 1, 0), job.MCS_Name[static_cast<std::size_t>(k)]);
        EXPECT_EQ(sheet.text(k - 1, 1), L(job.MCSt_X[k]));
        EXPECT_EQ(sheet.text(k - 1, 4), L(job.OCS_X[k]));
        EXPECT_EQ(sheet.text(k - 1, 9),
                  L(job.MCSt_Z[static_cast<std::size_t>(k)] - job.OCS_Z[static_cast<std::size_t>(k)]));
        EXPECT_EQ(
            sheet.text(k - 1, 18),
            L(std::sqrt(job.OCS_X[k] * job.OCS_X[k] + job.OCS_Y[k] * job.OCS_Y[k] +
                        job.OCS_Z[static_cast<std::size_t>(k)] * job.OCS_Z[static_cast<std::size_t>(k)])));
    }
}

// An opened job before its first calculation: the sheet and the calculation window's point table
// show the same residuals, the ones the job's transformed points give (here a copy of the MCS,
// so P1 reads 100.5 - 799.75 from the demo cell's files), although the job holds the fitted
// parameters. The sheet used to apply them and showed 0.000 beside the table's -699.250.
TEST(FormMainSheet, BeforeTheFirstCalculationOfAnOpenedJobSheetAndPointTableShowTheSameResiduals) {
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    ASSERT_FALSE(p.job.TrafoCalculated);
    ASSERT_NEAR(p.job.TraX(), 1000.0, 1e-9);  // a fit is stored with the job
    FormMainSheet* w = p.sheets.window();
    ASSERT_NE(w, nullptr);
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    ASSERT_FALSE(p.job.TrafoCalculated);  // opening the window calculates nothing
    PointTable* table = calc.pointTable();
    ASSERT_NE(table, nullptr);
    const QAbstractItemModel* model = table->model();
    ASSERT_EQ(model->rowCount(), p.job.IdenticalCount);

    EXPECT_EQ(w->sheet().text(0, 0), "P1");
    EXPECT_EQ(w->sheet().text(0, 7), "-699.250");  // 100.5 - 799.75
    EXPECT_EQ(w->sheet().text(0, 8), "599.750");   // 200.25 - (-399.5)
    EXPECT_EQ(w->sheet().text(0, 1), "100.500");   // the MCS point as loaded
    for (int row = 0; row < model->rowCount(); ++row) {
        const std::int32_t point = table->pointOfRow(row);
        ASSERT_GE(point, 1);
        const auto sheetRow = w->sheet().rowOfName(p.job.MCS_Name[static_cast<std::size_t>(point)]);
        ASSERT_TRUE(sheetRow.has_value());
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_EQ(model->index(row, 2 + axis).data().toString().toStdString(),
                      w->sheet().text(*sheetRow, 7 + axis))
                << "point " << point << " axis " << axis;
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        captureSheetInMainWindow(p.main, *sub, "main-sheet-before-calculation.png");
    }

    // After a calculation both show what it stored.
    calc.presetButton(Preset::SevenParameter)->click();
    calc.calculateButton()->click();
    ASSERT_TRUE(p.job.TrafoCalculated);
    EXPECT_EQ(w->sheet().text(0, 7), "0.000");
    EXPECT_EQ(model->index(table->rowOfName("P1"), 2).data().toString().toStdString(), "0.000");
}

TEST(FormMainSheet, TheDemoJobOpensCalculatesAndChangesUnitsInTheSheet) {
    testing::TempDir dir;
    Program p;
    ASSERT_TRUE(p.openDemoJob());
    p.job.IniFilePath = dir.write("Kalvoreth.ini", "[Cols]\r\nCol_2=2000\r\n\r\n[LastEntry]\r\n");
    // An opened job is shown at once.
    FormMainSheet* w = p.sheets.window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(p.main.action(Command::MainSheet)->isChecked());
    EXPECT_EQ(w->sheet().rowCount(), p.job.IdenticalCount + p.job.McsOnlyCount + p.job.OcsOnlyCount);

    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    calc.presetButton(Preset::SevenParameter)->click();
    calc.calculateButton()->click();
    ASSERT_NEAR(p.job.TraX(), 1000.0, 1e-6);  // the calculation ran
    expectSheetAgreesWithTheEngine(p.job, *w);
    EXPECT_EQ(w->sheet().text(0, 7), "0.000");  // the demo cell fits exactly

    p.job.LengthUnitName = "meter";
    applyUnitSettings(p.job);
    p.events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(w->sheet().text(0, 4), formatNumber(p.job.OCS_X[1] / 1000, "0.000"));
    expectSheetAgreesWithTheEngine(p.job, *w);
    EXPECT_EQ(w->sheet().headerText(4), "OCS.x");

    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        p.job.LengthUnitName = "millimeter";
        applyUnitSettings(p.job);
        p.events.publish(JobEvent::UnitsChanged);
        captureSheetInMainWindow(p.main, *sub, "main-sheet.png");
    }

    // The menu entry closes the sheet and takes its check mark away; a refresh then opens nothing.
    // The close stores the widths of the settings file and the user's, which the next fill reads;
    // a fitted column is left to be fitted again.
    const double dpi = w->logicalDpiX();
    w->grid()->setColumnWidth(7, twipsToPixels(1500, dpi));
    const int emptyColumn = w->grid()->columnWidth(22);  // untitled and empty: fitted narrow
    EXPECT_LT(emptyColumn, twipsToPixels(1000, dpi));
    p.main.action(Command::MainSheet)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(findIniValue(p.job.IniFilePath, "Col_22"), std::nullopt);
    EXPECT_EQ(readIniValue(p.job.IniFilePath, "Col_2"), "2000");
    EXPECT_EQ(readIniValue(p.job.IniFilePath, "Col_7"),
              std::to_string(static_cast<int>(pixelsToTwips(twipsToPixels(1500, dpi), dpi))));
    EXPECT_EQ(p.sheets.window(), nullptr);
    EXPECT_FALSE(p.main.action(Command::MainSheet)->isChecked());
    p.events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(p.sheets.window(), nullptr);
    p.main.action(Command::MainSheet)->trigger();
    ASSERT_NE(p.sheets.window(), nullptr);
    EXPECT_TRUE(p.main.action(Command::MainSheet)->isChecked());
    EXPECT_EQ(p.sheets.window()->sheet().rowCount(),
              p.job.IdenticalCount + p.job.McsOnlyCount + p.job.OcsOnlyCount);
}

// The demo job with no widths stored: every number and title of the sheet and of the calculation
// window's point table shows uncut, before and after a calculation ("-399.5…" and "MCS.…" were
// cut by widths measured in twips for another platform's font).
TEST(FormMainSheet, TheDemoJobShowsEveryNumberAndTitleUncutInTheSheetAndThePointTable) {
    testing::TempDir dir;
    Program p;
    p.job.IniFilePath = dir.write("Kalvoreth.ini", "[Settings]\r\n\r\n[LastEntry]\r\n");
    ASSERT_TRUE(p.openDemoJob());
    FormMainSheet* w = p.sheets.window();
    ASSERT_NE(w, nullptr);
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    for (const bool calculated : {false, true}) {
        SCOPED_TRACE(calculated ? "after the calculation" : "before");
        if (calculated) {
            calc.presetButton(Preset::SevenParameter)->click();
            calc.calculateButton()->click();
            ASSERT_TRUE(p.job.TrafoCalculated);
        }
        ASSERT_GT(w->grid()->model()->rowCount(), 0);
        EXPECT_EQ(testing::cutCellTexts(*w->grid()), std::vector<std::string>{});
        EXPECT_EQ(testing::cutTitles(*w->grid()), std::vector<std::string>{});
        ASSERT_GT(calc.pointTable()->model()->rowCount(), 0);
        EXPECT_EQ(testing::cutCellTexts(*calc.pointTable()), std::vector<std::string>{});
        EXPECT_EQ(testing::cutTitles(*calc.pointTable()), std::vector<std::string>{});
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) {
        captureSheetInMainWindow(p.main, *sub, "main-sheet-demo-calculated.png");
    }
}

}  // namespace
}  // namespace kal
