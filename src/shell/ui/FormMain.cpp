#include "shell/ui/FormMain.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "shell/JobReset.h"
#include "shell/ui/Eroeffnung.h"
#include "shell/ui/FormChangeDir.h"
#include "shell/ui/FormProgressBar.h"
#include "shell/ui/FormStopParaTrafo.h"
#include "shell/ui/ToolbarIcons.h"

namespace kal {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FormMain::FormMain(JobState& job, platform::Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), job_(job), prompter_(prompter), mdi_(new QMdiArea(this)), positions_(job) {
    setObjectName("FormMain");
    mdi_->setObjectName("MDIClient");
    setCentralWidget(mdi_);
    buildMenus();
    buildToolbars();
    buildStatusBar();
    resize(1200, 760);
    ProgrammLogik();
}

FormMain::~FormMain() = default;

// ---------------------------------------------------------------- menus

QMenu* FormMain::addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    actions_[name] = m->menuAction();
    return m;
}

QMenu* FormMain::addSubMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    actions_[name] = m->menuAction();
    return m;
}

QAction* FormMain::addItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut, bool checkable) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    a->setCheckable(checkable);
    actions_[name] = a;
    return a;
}

void FormMain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = addMenu(bar, "MenuFile", "&File");
    addItem(file, "MenuFileNew", "&New");
    addItem(file, "MenuFileOpen", "&Open");
    file->addSeparator();
    addItem(file, "MenuFileSave", "&Save");
    addItem(file, "MenuFileSaveAs", "Save &as");
    file->addSeparator();
    addItem(file, "MenuFileInputFiles", "&Input Files", QKeySequence("Ctrl+I"));
    addItem(file, "MenuFileJobInformation", "&Job Information")->setEnabled(false);
    file->addSeparator();
    QMenu* exports = addSubMenu(file, "MenueFileExport", "E&xport");
    addItem(exports, "MenueFileExportRobCad", "Rob&Cad Robface *.rf File");
    addItem(exports, "MenueFileExportROCAL", "&Rocal *.bas File");
    addItem(exports, "MenueOnlyMCStoTilde", "OnlyMCS Pts to txt File", QKeySequence("F9"));
    file->addSeparator();
    for (int i = 1; i <= 4; ++i) {
        const std::string name = "MenueDateiAlt" + std::to_string(i);
        addItem(file, name.c_str(), q(recentFileCaption(i, "")));
    }
    file->addSeparator();
    QAction* exit = addItem(file, "MenuFileExit", "&Exit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = addMenu(bar, "MenuEdit", "&Edit");
    addItem(edit, "MenuEditCopy", "Copy", QKeySequence("Ctrl+C"));
    addItem(edit, "MenuEditGraphData", "Graph Data");

    QMenu* settings = addMenu(bar, "MenuSettings", "&Settings");
    addItem(settings, "MenuSettingsUnits", "&Units");

    QMenu* trafo = addMenu(bar, "MenuTransformation", "&Transformation");
    addItem(trafo, "MenuTransformationCalculation", "&Calculation", {}, true);
    addItem(trafo, "MenueTransformationBatch", "Batch Transform");
    addItem(trafo, "MenuTransformationDistanceScale", "&Distance Scale");

    QMenu* graphics = addMenu(bar, "MenueGraphics", "Graphics");
    addItem(graphics, "MenueGraphicsWindow", "Graphics Window", {}, true);
    graphics->addSeparator();
    addItem(graphics, "MenueAnsichtAnpassen", "&Adjust", QKeySequence("Ctrl+A"));
    addItem(graphics, "MenueAnsichtcenter", "Center", QKeySequence("Ctrl+F1"));
    addItem(graphics, "MenueGrafikBlackPlane", "BlackPlane", QKeySequence("F7"));
    addItem(graphics, "MenueGraphicsPrint",
            QStringLiteral("Print \"%1\" to Clipboard").arg(kDefaultGraphicsCaption), QKeySequence("Ctrl+D"));
    addItem(graphics, "MenueGlobalRotateAbout", "Rotate about", QKeySequence("Ctrl+U"), true);
    graphics->addSeparator();
    addItem(graphics, "MenueAnsichtTopview", "Top View", QKeySequence("Ctrl+T"));
    addItem(graphics, "MenueAnsichtSideView", "Side View", QKeySequence("Ctrl+S"));
    addItem(graphics, "MenueAnsichtFrontView", "Front View", QKeySequence("Ctrl+F"));
    addItem(graphics, "MenueAnsichtIsometricView", "Isometric View");
    graphics->addSeparator();
    addItem(graphics, "MenueGlobalFlagsMode", "Flags Mode", QKeySequence("F5"), true);
    addItem(graphics, "MenueAnsichtDynamicFlag", "Dynamic Flag", QKeySequence("F6"), true);
    QMenu* points = addSubMenu(graphics, "MenueAnsichtPunkte", "Points");
    addItem(points, "MenueAnsichtPunkteBigger", "Bigger", QKeySequence("Ctrl+B"));
    addItem(points, "MenueAnsichtPunkteSmaller", "Smaller", QKeySequence("Ctrl+M"));
    addItem(points, "MenueAnsichtPunkteSmallPoints", "Small Points (Pixel)", QKeySequence("Ctrl+P"));
    QMenu* vectors = addSubMenu(graphics, "MenueAnsichtVektoren", "Vectors");
    addItem(vectors, "MenueAnsichtVektorenVektorModeActive", "Vector Mode Active", QKeySequence("Ctrl+V"),
            true);
    addItem(vectors, "MenueAnsichtVektorenLonger", "longer", QKeySequence("Ctrl+L"));
    addItem(vectors, "MenueAnsichtVektorenShorter", "shorter", QKeySequence("Ctrl+H"));
    QMenu* analyse = addSubMenu(graphics, "MenueAnsichtAnalyse", "Analyse");
    addItem(analyse, "MenueAnsichtAnalyseModeActive", "Analyse Mode Active", QKeySequence("Ctrl+X"), true);
    // Only in analyse mode, which starts off.
    addItem(analyse, "MenueAnsichtAnalyseModeMore", "more", QKeySequence("F3"))->setEnabled(false);
    addItem(analyse, "MenueAnsichtAnalyseModeLess", "less", QKeySequence("F4"))->setEnabled(false);
    addItem(analyse, "MenueAnsichtAnalyseKeepPoints", "KeepPoints", QKeySequence("Ctrl+K"), true)
        ->setEnabled(false);
    QMenu* tolerance = addSubMenu(graphics, "MenueAnsichtToleranzen", "&Tolerance");
    addItem(tolerance, "MenueAnsichtToleranzenColorbar", "Color Bar", QKeySequence("Ctrl+R"), true);
    addItem(tolerance, "MenueAnsichtToleranzenEinstellungen", "Settings", QKeySequence("Ctrl+E"), true);
    QMenu* lines = addSubMenu(graphics, "MenueGraphicsLines", "Lines");
    addItem(lines, "MenueGraphicsLinesLineModeActive", "Line Mode Active", QKeySequence("F8"), true);
    addItem(lines, "MenueGraphicsLinesSetLines", "Set Lines", {}, true);
    addItem(lines, "MenueGraphicsLinesDeleteLines", "Delete Lines", {}, true);

    QMenu* global = addMenu(bar, "MenueGlobalGraphics", "Global Graphics");
    addItem(global, "MenueGlobalGeneralGraphicsSettings", "General Graphics Settings");

    QMenu* views = addMenu(bar, "MenueViewS", "&Views");
    addItem(views, "MenueViewSaveView", "&Save View");
    addItem(views, "MenueViewDeleteView", "&Delete View");
    addItem(views, "MenueViewLastView", "&last View", QKeySequence("Ctrl+Z"));
    addItem(views, "MenueViewNextView", "&next View", QKeySequence("Ctrl+Y"));

    QMenu* extras = addMenu(bar, "MenueExtras", "&Extras");
    addItem(extras, "MenueExtrasOptions", "&Options");
    addItem(extras, "MenuemyTest", "myTest", QKeySequence("Ctrl+Shift+F12"))->setVisible(false);

    QMenu* window = addMenu(bar, "MenueWindow", "Window");
    addItem(window, "MenuVievMainSheet", "&MainSheet", {}, true);
    addItem(window, "MenueViewInputStatistic", "&Input Statistic", {}, true);
    window->addSeparator()->setObjectName("MenueWindowdummy1");
    addItem(window, "MenueWindowArrange", "&Arrange");
    addItem(window, "MenueWindowCascade", "&Cascade");

    // The network adjustment's entry: hidden and disabled from the start; nothing shows it.
    QMenu* buendel = addMenu(bar, "MenueBuendel", QStringLiteral("B\u00FCndel"));
    buendel->menuAction()->setVisible(false);
    buendel->menuAction()->setEnabled(false);

    QMenu* help = addMenu(bar, "MenueHilfe", "Help");
    addItem(help, "MenueHelpQuestion", "Documentation", QKeySequence("F1"));
    addItem(help, "MenuHelpInfo", "&Info");
    addItem(help, "MenueHelpWubrant", "&Spezial", QKeySequence("Ctrl+W"));
}

// ---------------------------------------------------------------- toolbars

QAction* FormMain::addButton(Toolbar bar, const char* key, const QString& tooltip, bool checkable) {
    QAction* a = toolbars_[bar]->addAction(toolbarIcon(key), tooltip);
    a->setObjectName(key);
    a->setToolTip(tooltip);
    a->setCheckable(checkable);
    positionsOf_[bar].push_back(a);
    return a;
}

void FormMain::addSeparator(Toolbar bar) { positionsOf_[bar].push_back(toolbars_[bar]->addSeparator()); }

void FormMain::addEmpty(Toolbar bar) { positionsOf_[bar].push_back(nullptr); }

void FormMain::buildToolbars() {
    for (Toolbar bar : {Toolbar::Toolbar2, Toolbar::Toolbar1, Toolbar::ToolbarGraphics,
                        Toolbar::ToolbarSaveView, Toolbar::ToolbarLines}) {
        // The cool bar's bands in two rows: the file and graphics bands, then views and lines.
        if (bar == Toolbar::ToolbarSaveView) addToolBarBreak();
        QToolBar* tb = addToolBar(toolbarName(bar));
        tb->setObjectName(toolbarName(bar));
        tb->setIconSize(QSize(24, 24));
        toolbars_[bar] = tb;
        positionsOf_[bar].push_back(nullptr);  // positions count from 1
    }
    using T = Toolbar;
    addButton(T::Toolbar2, "FileNew", "New File");
    addButton(T::Toolbar2, "FileOpen", "Open File");
    addButton(T::Toolbar2, "FileSave", "Save File");
    addEmpty(T::Toolbar2);
    addEmpty(T::Toolbar2);

    addEmpty(T::Toolbar1);
    addButton(T::Toolbar1, "InputFiles", "Input Files");
    addButton(T::Toolbar1, "TrafoBerechnung", "Transformation Calculation", true);
    addEmpty(T::Toolbar1);
    addEmpty(T::Toolbar1);

    const T g = T::ToolbarGraphics;
    addButton(g, "Graphics", "Graphics");
    addSeparator(g);
    addButton(g, "RotateAbout", "Rotate about");
    addSeparator(g);
    addButton(g, "ViewTop", "View TOP");
    addButton(g, "ViewFront", "View FRONT");
    addButton(g, "ViewSide", "View SIDE");
    addSeparator(g);
    addButton(g, "ViewIso", "View ISOMETRIC");
    addSeparator(g);
    addButton(g, "FlagMode", "Flag Mode", true);
    addSeparator(g);
    addButton(g, "ZoomAll", "Zoom All");
    addButton(g, "ZoomOut", "Zoom Out");
    addButton(g, "ZoomIn", "Zoom In");
    addSeparator(g);
    addButton(g, "ColorBar", "Color Bar", true);
    addSeparator(g);
    addButton(g, "PointsBigger", "Points bigger");
    addButton(g, "PointsSmaller", "Points smaller");
    addSeparator(g);
    addButton(g, "VectorMode", "Vector Mode on / off", true);
    addButton(g, "VectorLonger", "Vector longer");
    addButton(g, "VectorShorter", "Vector shorter");
    addButton(g, "AnalyseMode", "Anlalyse Mode on / off", true);

    const T s = T::ToolbarSaveView;
    addButton(s, "ListView", "List of stored Views");
    // Positions 2 to 5 hold no button: the saved-view list stands there.
    comboSaveView_ = new QComboBox(this);
    comboSaveView_->setObjectName("ComboSaveView");
    comboSaveView_->setMinimumContentsLength(16);
    comboSaveView_->setToolTip("List of stored Views");
    toolbars_[s]->addWidget(comboSaveView_);
    for (int i = 2; i <= 5; ++i) addEmpty(s);
    addButton(s, "SaveView", "Save View");
    addButton(s, "DeleteView", "Delete View");
    addButton(s, "LastView", "Last View");
    addButton(s, "NextView", "next View");

    addButton(T::ToolbarLines, "LineMode", "Line Mode on/off", true);
    addButton(T::ToolbarLines, "SetLine", "SetLine", true);
    addButton(T::ToolbarLines, "DeleteLine", "Delete Line", true);
}

void FormMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    for (int i = 1; i <= 3; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setMinimumWidth(110);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        panels_.push_back(panel);
    }
}

// ---------------------------------------------------------------- controls by name

QAction* FormMain::actionNamed(const QString& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* FormMain::action(MenuItem item) const { return actionNamed(menuItemName(item)); }

QAction* FormMain::toolButton(Toolbar bar, int position) const {
    auto it = positionsOf_.find(bar);
    if (it == positionsOf_.end() || position < 1 || position >= static_cast<int>(it->second.size()))
        return nullptr;
    return it->second[static_cast<std::size_t>(position)];
}

QToolBar* FormMain::toolbar(Toolbar bar) const {
    auto it = toolbars_.find(bar);
    return it == toolbars_.end() ? nullptr : it->second;
}

QLabel* FormMain::statusPanel(int panel) const {
    if (panel < 1 || panel > static_cast<int>(panels_.size())) return nullptr;
    return panels_[static_cast<std::size_t>(panel - 1)];
}

void FormMain::setStatusPanel(int panel, const QString& text) {
    if (QLabel* p = statusPanel(panel)) p->setText(text);
}

// ---------------------------------------------------------------- the state refresher

void FormMain::ProgrammLogik() {
    ProgramLogicInput in;
    in.CurrentJobFile = job_.CurrentJobFile;
    in.RecentFiles = job_.RecentFiles;
    in.DataLoaded = job_.DataLoaded;
    in.TrafoCalculated = job_.TrafoCalculated;
    in.GraphicsWindowCount = graphics_.GraphicsWindowCount();
    in.graphicsWindowMarked = action(MenuItem::MenueGraphicsWindow)->isChecked();
    in.longWorkRunning = longWorkRunning_;
    GraphicsWindow* defaultWindow = graphics_.findLFDFORM();
    if (defaultWindow) in.defaultWindow = defaultWindow->modes();
    apply(kal::ProgrammLogik(in));
}

void FormMain::apply(const MainWindowState& s) {
    for (int i = 0; i < 4; ++i)
        action(static_cast<MenuItem>(static_cast<int>(MenuItem::MenueDateiAlt1) + i))
            ->setText(q(s.recentCaptions[static_cast<std::size_t>(i)]));
    const QString caption = q(s.caption);
    if (windowTitle() != caption) setWindowTitle(caption);
    if (s.exportCaption) action(MenuItem::MenueFileExport)->setText(q(*s.exportCaption));

    for (const auto& [item, change] : s.menus) {
        if (item == MenuItem::ComboSaveView) {
            if (change.enabled) comboSaveView_->setEnabled(*change.enabled);
            continue;
        }
        QAction* a = action(item);
        if (!a) continue;
        if (change.enabled) a->setEnabled(*change.enabled);
        if (change.checked) a->setChecked(*change.checked);
    }
    for (const auto& [button, change] : s.buttons) {
        QAction* a = toolButton(button.bar, button.position);
        if (!a) continue;
        if (change.enabled) a->setEnabled(*change.enabled);
        if (change.checked) a->setChecked(*change.checked);
    }

    GraphicsWindow* w = graphics_.defaultWindow();
    const auto& open = graphics_.windows();
    if (std::find(open.begin(), open.end(), pointerWindow_) == open.end()) pointerWindow_ = nullptr;
    if (w && s.defaultWindowModes && !(w->modes() == *s.defaultWindowModes))
        w->setModes(*s.defaultWindowModes);
    // The pointer only when it changes: the refresher runs on every mouse move of a graphics window.
    if (w && s.pointer && (w != pointerWindow_ || *s.pointer != pointerSet_)) {
        w->setPointer(*s.pointer);
        pointerWindow_ = w;
        pointerSet_ = *s.pointer;
    }
}

void FormMain::UpdateAllGraphicsWindows() {
    graphics_.UpdateAllGraphicsWindows(action(MenuItem::MenueGraphicsWindow)->isChecked());
}

void FormMain::setLongWorkRunning(bool running) {
    longWorkRunning_ = running;
    ProgrammLogik();
}

// ---------------------------------------------------------------- job reset, child windows

void FormMain::Initialisieren() { kal::Initialisieren(job_, *this); }

bool FormMain::CloseAllChildForms() {
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) sub->close();
    return CountChildForms() == 0;
}

int FormMain::CountChildForms() const {
    int n = 0;
    // A closed window leaves the list only when it is deleted a moment later: count the shown.
    for (QMdiSubWindow* sub : mdi_->subWindowList()) n += sub->isHidden() ? 0 : 1;
    return n;
}

void FormMain::setMainCaption(const std::string& caption) { setWindowTitle(q(caption)); }

void FormMain::showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) {
    setStatusPanel(1, q(lengthUnit));
    setStatusPanel(2, q(angleUnit));
}

void FormMain::showSplash() {
    if (splashInterval_ < 0) return;
    Eroeffnung splash(splashInterval_);
    splash.runModal();
}

void FormMain::closeAllWindows() {
    CloseAllChildForms();
    if (folderChooser_) folderChooser_->close();
}

void FormMain::closeEvent(QCloseEvent* e) {
    if (closeGuard_ && !closeGuard_()) {
        e->ignore();
        return;
    }
    e->accept();
}

// ---------------------------------------------------------------- the small windows

platform::Progress& FormMain::progressWindow() {
    if (!progress_) progress_ = std::make_unique<QtProgressWindow>(mdi_, job_.StopFlag, positions_);
    return *progress_;
}

ParaStopWindow& FormMain::paraStopWindow() {
    if (!paraStop_) paraStop_ = std::make_unique<QtParaStopWindow>(mdi_, this, job_.ParaStopFlag, positions_);
    return *paraStop_;
}

FormChangeDir& FormMain::folderChooser() {
    if (!folderChooser_) folderChooser_ = new FormChangeDir(prompter_, positions_, this);
    return *folderChooser_;
}

}  // namespace kal
