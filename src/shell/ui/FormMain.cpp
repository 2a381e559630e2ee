#include "shell/ui/FormMain.h"

#include <QChildEvent>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "shell/JobReset.h"
#include "shell/ui/FormChangeDir.h"
#include "shell/ui/FormProgressBar.h"
#include "shell/ui/FormStopParaTrafo.h"
#include "shell/ui/SplashWindow.h"
#include "shell/ui/ToolbarIcons.h"
#include "shell/ui/WorkAreaKeeper.h"

namespace kal {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

// Gives each child window that joins the work area its one close key. A child window's system
// menu closes it by the platform's close keys, Ctrl+W among them on this desktop; while a child
// window has the focus, that key would belong to both its Close and "&Spezial", and neither ran.
class ChildCloseKey : public QObject {
  public:
    explicit ChildCloseKey(QObject* parent) : QObject(parent) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A child window is still being built when it is added; it is complete when polished,
        // which happens before it is first shown.
        if (event->type() == QEvent::ChildPolished)
            if (auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
                takeCloseKey(sub);
        return false;
    }

  private:
    static void takeCloseKey(QMdiSubWindow* sub) {
        const QMenu* menu = sub->systemMenu();
        if (!menu) return;
        const QList<QKeySequence> platformKeys = QKeySequence::keyBindings(QKeySequence::Close);
        for (QAction* a : menu->actions()) {
            const QList<QKeySequence> keys = a->shortcuts();
            const bool closes = std::any_of(keys.begin(), keys.end(),
                                            [&](const QKeySequence& k) { return platformKeys.contains(k); });
            if (closes) a->setShortcut(QKeySequence(QString::fromLatin1(kChildWindowCloseShortcut)));
        }
    }
};
}  // namespace

FormMain::FormMain(JobState& job, platform::Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), job_(job), prompter_(prompter), mdi_(new QMdiArea(this)), positions_(job) {
    setObjectName("FormMain");
    mdi_->setObjectName("MDIClient");
    // A child window larger than the work area stays reachable.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A closed child window hands the activation back to the one used before it, not to the
    // oldest: closing the trumpet graph returns to the analysis window it came from.
    mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    // A window opened while another is maximised opens at its own size: maximised, it would fill
    // the work area and store that as its size. The work area's rule of maximising whatever is
    // activated while the active window is maximised is held off from a new window's first
    // showing until its activation, so switching between windows keeps a maximised view.
    mdi_->viewport()->installEventFilter(this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &FormMain::subWindowActivated);
    setCentralWidget(mdi_);
    mdi_->viewport()->installEventFilter(new ChildCloseKey(this));
    new WorkAreaKeeper(*mdi_);
    buildMenus();
    buildToolbars();
    buildStatusBar();
    resize(1200, 760);
    for (const CommandInfo& row : commandTable())
        if (!commandConnected(row.command)) action(row.command)->setEnabled(false);
    refreshControls();
}

FormMain::~FormMain() {
    // The work area and its windows go after this object: they must not call back into it.
    disconnect(mdi_, nullptr, this, nullptr);
    mdi_->viewport()->removeEventFilter(this);
    delete mdi_->findChild<QObject*>(QStringLiteral("kalWorkAreaKeeper"), Qt::FindDirectChildrenOnly);
}

// ---------------------------------------------------------------- menus and toolbars

void FormMain::buildMenus() {
    for (const CommandInfo& row : commandTable()) {
        QAction* a = nullptr;
        QMenu* parent = row.onMenuBar() || row.kind == ControlKind::Button || row.kind == ControlKind::Combo
                            ? nullptr
                            : menus_.at(row.parent);
        if (parent && row.has(kSeparatorBefore)) parent->addSeparator();
        switch (row.kind) {
            case ControlKind::Menu: {
                QMenu* m = parent ? parent->addMenu(q(row.caption)) : menuBar()->addMenu(q(row.caption));
                m->setObjectName(row.objectName);
                menus_[row.command] = m;
                a = m->menuAction();
                break;
            }
            case ControlKind::Entry:
                a = parent->addAction(q(row.caption));
                break;
            case ControlKind::Separator:
                a = parent->addSeparator();
                break;
            case ControlKind::Button:
                a = new QAction(q(row.tooltip), this);
                break;
            case ControlKind::Combo:
                continue;  // a widget on its toolbar
        }
        a->setObjectName(row.objectName);
        if (row.shortcut[0] != '\0') a->setShortcut(QKeySequence(row.shortcut));
        a->setCheckable(row.has(kCheckable));
        if (row.has(kStartsDisabled)) a->setEnabled(false);
        if (row.has(kHidden)) a->setVisible(false);
        if (row.hasButton()) {
            a->setIcon(toolbarIcon(row.buttonKey));
            a->setIconVisibleInMenu(false);  // the menus show no pictures
            a->setToolTip(q(row.tooltip));
        }
        commandActions_[static_cast<std::size_t>(row.command)] = a;
        actions_[row.objectName] = a;
    }
    // Exit is the window's own; the toolbars do not exist yet, so no refresh here.
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connected_[static_cast<std::size_t>(Command::Exit)] = true;
}

void FormMain::buildToolbars() {
    for (const ToolbarInfo& band : toolbarTable()) {
        if (band.startsRow) addToolBarBreak();
        QToolBar* tb = addToolBar(band.objectName);
        tb->setObjectName(band.objectName);
        tb->setIconSize(QSize(24, 24));
        toolbars_[band.bar] = tb;
    }
    for (const ToolbarSlot& slot : toolbarLayout()) {
        QToolBar* tb = toolbars_.at(slot.bar);
        if (slot.separator) {
            tb->addSeparator();
            continue;
        }
        const CommandInfo& row = commandInfo(slot.command);
        if (row.kind == ControlKind::Combo) {
            comboSaveView_ = new QComboBox(this);
            comboSaveView_->setObjectName(row.objectName);
            comboSaveView_->setMinimumContentsLength(16);
            comboSaveView_->setToolTip(q(row.tooltip));
            // The toolbar's action for the combo carries its enabled state to it.
            commandActions_[static_cast<std::size_t>(row.command)] = tb->addWidget(comboSaveView_);
            continue;
        }
        QAction* a = action(slot.command);
        tb->addAction(a);
        tb->widgetForAction(a)->setObjectName(row.buttonKey);
    }
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

QAction* FormMain::action(Command command) const {
    return commandActions_[static_cast<std::size_t>(command)];
}

QToolButton* FormMain::toolButton(Command command) const {
    for (const ToolbarSlot& slot : toolbarLayout())
        if (!slot.separator && slot.command == command)
            return qobject_cast<QToolButton*>(toolbar(slot.bar)->widgetForAction(action(command)));
    return nullptr;
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

void FormMain::connectCommand(Command command, std::function<void()> handler) {
    QAction* a = action(command);
    connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    if (!connected_[static_cast<std::size_t>(command)]) {
        connected_[static_cast<std::size_t>(command)] = true;
        a->setEnabled(!commandInfo(command).has(kStartsDisabled));
        refreshControls();
    }
}

bool FormMain::commandConnected(Command command) const {
    // A menu only opens its entries: it is usable whenever the refresher says so.
    return commandInfo(command).kind == ControlKind::Menu || connected_[static_cast<std::size_t>(command)];
}

void FormMain::refreshControls() {
    ProgramLogicInput in;
    in.CurrentJobFile = job_.CurrentJobFile;
    in.RecentFiles = job_.RecentFiles;
    in.DataLoaded = job_.DataLoaded;
    in.TrafoCalculated = job_.TrafoCalculated;
    in.windowCount = graphics_.windowCount();
    in.graphicsWindowMarked = action(Command::GraphicsWindow)->isChecked();
    in.longWorkRunning = longWorkDepth_ > 0;
    GraphicsWindow* defaultWindow = graphics_.findDefaultWindow();
    if (defaultWindow) in.defaultWindow = defaultWindow->modes();
    apply(computeMainWindowState(in));
}

void FormMain::apply(const MainWindowState& s) {
    constexpr Command kRecent[] = {Command::RecentFile1, Command::RecentFile2, Command::RecentFile3,
                                   Command::RecentFile4};
    for (std::size_t i = 0; i < 4; ++i) action(kRecent[i])->setText(q(s.recentCaptions[i]));
    const QString caption = q(s.caption);
    if (windowTitle() != caption) setWindowTitle(caption);
    if (s.exportCaption) action(Command::ExportMenu)->setText(q(*s.exportCaption));

    for (const auto& [command, change] : s.commands) {
        QAction* a = action(command);
        if (change.enabled) a->setEnabled(*change.enabled && commandConnected(command));
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

void FormMain::redrawGraphicsWindows() {
    graphics_.redrawGraphicsWindows(action(Command::GraphicsWindow)->isChecked());
}

void FormMain::setLongWorkRunning(bool running) {
    longWorkDepth_ = running ? longWorkDepth_ + 1 : std::max(0, longWorkDepth_ - 1);
    refreshControls();
}

// ---------------------------------------------------------------- job reset, child windows

void FormMain::initializeJob() { kal::initializeJob(job_, *this); }

bool FormMain::closeChildWindows() {
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) sub->close();
    return childWindowCount() == 0;
}

int FormMain::childWindowCount() const {
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
    SplashWindow splash(splashInterval_);
    splash.runModal();
}

void FormMain::closeAllWindows() {
    closeChildWindows();
    if (folderChooser_) folderChooser_->close();
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    // A child window is polished as it is first shown, before the work area activates it.
    if (watched == mdi_->viewport() && event->type() == QEvent::ChildPolished) {
        auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child());
        if (sub && !sub->isVisible()) {
            opening_.emplace_back(sub);
            mdi_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormMain::subWindowActivated(QMdiSubWindow* sub) {
    const bool opening = sub && std::find(opening_.begin(), opening_.end(), sub) != opening_.end();
    std::erase_if(opening_, [sub](const QPointer<QMdiSubWindow>& w) { return !w || w == sub; });
    if (opening_.empty()) mdi_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
    // The work area maximises the window it activates while the active one is maximised. A
    // window opening keeps its own size all the same, and so does a dialog-like window, which has
    // no maximise button (as the system's own MDI restores the maximised window instead).
    const bool maximisable = sub && (!(sub->windowFlags() & Qt::CustomizeWindowHint) ||
                                     (sub->windowFlags() & Qt::WindowMaximizeButtonHint));
    if (sub && sub->isMaximized() && (opening || !maximisable)) sub->showNormal();
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
