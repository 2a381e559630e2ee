#include "app/FlagWindows.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolBar>

#include "annotation/FlagLayout.h"
#include "app/CalculationWindows.h"
#include "app/ColorBarWindows.h"
#include "app/LongWork.h"
#include "app/ScreenNavigationWindows.h"
#include "app/ViewRecordWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "calculation/ui/PointTable.h"
#include "platform/qt/QtTextMetrics.h"
#include "view3d/CloudProjection.h"
#include "view3d/StandardPalette.h"
#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {

namespace {

constexpr StoredColour kSnapGridColour = storedColour(0, 255, 0);  // palette colour 10

// The cell of `table` under (x, y) relative to the table's corner; false between or beyond cells.
bool cellAt(const FlagTable& table, float x, float y, int& row, int& column) {
    float left = 0;
    column = -1;
    for (int c = 0; c < kFlagColumns; ++c) {
        const int w = table.columnWidth[static_cast<std::size_t>(c)];
        if (w > 0 && x >= left && x < left + w) column = c;
        left += static_cast<float>(w);
    }
    float top = 0;
    row = -1;
    for (int r = 0; r < kFlagRows; ++r) {
        const int h = table.rowHeight[static_cast<std::size_t>(r)];
        if (h > 0 && y >= top && y < top + h) row = r;
        top += static_cast<float>(h);
    }
    return row >= 0 && column >= 0;
}

}  // namespace

// One graphics window's flags and the state of a flag being dragged or selected. Watches the
// window's drawing surface for the mouse and the keys on its flags.
struct FlagWindows::Window : QObject {
    FlagWindows& owner;
    FormScreen& form;
    FlagBoxes boxes;
    platform::QtTextMetrics metrics;
    bool FlagDragActive = false;
    float FlagGrabX = 0, FlagGrabY = 0;  // the press position inside the pressed flag
    float dragX = 0, dragY = 0;          // the mouse while dragging
    bool swallowRelease = false;         // the release that ends a double click on a flag
    std::int16_t selectedFlag = 0;       // the flag that has the keys (pressed last), 0 for none
    int selectedRow = -1, selectedColumn = -1;
    std::int16_t dynamicFlag = 0;  // the flag the dynamic flag put last, 0 for none

    Window(FlagWindows& o, FormScreen& f) : owner(o), form(f) {}

    // The visible flag under (x, y): the one drawn last wins.
    std::int16_t flagAt(float x, float y) const {
        for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {
            const FlagBox& b = it->second;
            if (b.visible && x >= b.left && x < b.left + b.table.width && y >= b.top &&
                y < b.top + b.table.height)
                return it->first;
        }
        return 0;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                return press(static_cast<QMouseEvent*>(event));
            case QEvent::MouseMove:
                if (!FlagDragActive) return false;
                dragX = static_cast<float>(static_cast<QMouseEvent*>(event)->position().x());
                dragY = static_cast<float>(static_cast<QMouseEvent*>(event)->position().y());
                form.redraw();  // the outline follows
                return true;
            case QEvent::MouseButtonRelease:
                return release(static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonDblClick:
                return doubleClick(static_cast<QMouseEvent*>(event));
            case QEvent::ShortcutOverride:
                // While a flag has the keys, Ctrl+C is the flag's, not the main window's Copy.
                if (selectedFlag != 0) {
                    event->accept();
                    return true;
                }
                return false;
            case QEvent::KeyPress:
                if (selectedFlag == 0) return false;
                key(static_cast<QKeyEvent*>(event));
                return true;  // a flag never reacts to keys itself
            case QEvent::KeyRelease:
                return selectedFlag != 0;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

    bool press(QMouseEvent* e) {
        // A new press starts a new sequence: a double click whose release a modal editor took
        // leaves nothing to swallow.
        swallowRelease = false;
        const auto x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
        const std::int16_t n = flagAt(x, y);
        if (n == 0) {
            selectedFlag = 0;
            return false;
        }
        const FlagBox& b = boxes.at(n);
        form.model().view.CurrentFahne = n;
        FlagGrabX = x - static_cast<float>(b.left);
        FlagGrabY = y - static_cast<float>(b.top);
        dragX = x;
        dragY = y;
        FlagDragActive = true;
        selectedFlag = n;
        if (!cellAt(b.table, FlagGrabX, FlagGrabY, selectedRow, selectedColumn))
            selectedRow = selectedColumn = -1;
        form.surface()->setFocus();
        form.redraw();
        return true;
    }

    bool release(QMouseEvent* e) {
        if (swallowRelease) {
            swallowRelease = false;
            return true;
        }
        if (!FlagDragActive) return false;
        FlagDragActive = false;
        ScreenProperties& view = form.model().view;
        const auto x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
        // A press without moving is a drop at the same place: the flag keeps it (or snaps).
        dropFlagBox(view, boxes, view.CurrentFahne, x - FlagGrabX, y - FlagGrabY);
        form.redraw();
        form.storeView();  // every drop is one step of the undo ring
        return true;
    }

    bool doubleClick(QMouseEvent* e) {
        const auto x = static_cast<float>(e->position().x()), y = static_cast<float>(e->position().y());
        const std::int16_t n = flagAt(x, y);
        if (n == 0) return false;
        swallowRelease = true;
        FlagDragActive = false;
        const FlagBox& b = boxes.at(n);
        int row = -1, column = -1;
        cellAt(b.table, x - static_cast<float>(b.left), y - static_cast<float>(b.top), row, column);
        owner.flagDoubleClicked(form, n, row, column);
        return true;
    }

    void key(QKeyEvent* e) {
        const auto mods = e->modifiers() & ~Qt::KeypadModifier;
        if (e->key() != Qt::Key_C || mods != Qt::ControlModifier) return;
        const auto it = boxes.find(selectedFlag);
        if (it == boxes.end()) return;
        const std::string text =
            selectedRow >= 0 && selectedColumn >= 0
                ? flagCopyText(it->second.table, selectedRow, selectedColumn, selectedRow, selectedColumn)
                : flagCopyText(it->second.table, 0, 0, kFlagRows - 1, kFlagColumns - 1);
        owner.clipboard_.clear();
        owner.clipboard_.setText(text);
    }

    // The flag tables on top of the picture, then the outline of a dragged flag and, while it
    // snaps, the snap grid.
    void paint(const ScreenModel& model, DisplayList& list) const {
        // Only what can be seen: a crowded picture hides most flags under later ones.
        for (const std::int16_t number : flagsInSight(boxes, model.width, model.height))
            appendFlagPrimitives(list, boxes.at(number));
        if (!FlagDragActive) return;
        const auto it = boxes.find(model.view.CurrentFahne);
        if (it == boxes.end()) return;
        const std::size_t n = static_cast<std::size_t>(model.view.CurrentFahne);
        if (n < model.view.FahneProps.size() && model.view.FahneProps[n].SnaptoGrid &&
            model.view.GridLength > 0) {
            const int g = model.view.GridLength;
            for (int k = 1; k * g <= model.width; ++k)
                list.add(Segment{{static_cast<float>(k * g), 0.0f},
                                 {static_cast<float>(k * g), static_cast<float>(model.height)},
                                 1,
                                 kSnapGridColour});
            for (int k = 1; k * g <= model.height; ++k)
                list.add(Segment{{0.0f, static_cast<float>(k * g)},
                                 {static_cast<float>(model.width), static_cast<float>(k * g)},
                                 1,
                                 kSnapGridColour});
        }
        // The outline shows on any background: white on black, black otherwise.
        const StoredColour outline =
            model.backColour == storedColour(0, 0, 0) ? storedColour(255, 255, 255) : storedColour(0, 0, 0);
        const float l = dragX - FlagGrabX, t = dragY - FlagGrabY;
        const auto w = static_cast<float>(it->second.table.width),
                   h = static_cast<float>(it->second.table.height);
        list.add(Segment{{l, t}, {l + w, t}, 1, outline});
        list.add(Segment{{l + w, t}, {l + w, t + h}, 1, outline});
        list.add(Segment{{l + w, t + h}, {l, t + h}, 1, outline});
        list.add(Segment{{l, t + h}, {l, t}, 1, outline});
    }
};

// The editor's buttons on the window whose flag was double-clicked.
class FlagWindows::EditorTarget : public FlagEditorTarget {
  public:
    EditorTarget(FlagWindows& owner, Window& w) : owner_(owner), w_(w) {}

    void applyFlagLayout(const FahneRecord& layout, const FlagEditorModel::Applied& applied) override {
        ScreenModel& m = w_.form.model();
        const auto n = static_cast<std::size_t>(m.view.CurrentFahne);
        if (n == 0 || n >= m.view.FahneProps.size()) return;
        FahneRecord& record = m.view.FahneProps[n];
        const FahneRecord kept = record;
        record = layout;
        record.Left = kept.Left;  // the editor does not move the flag
        record.Top = kept.Top;
        record.ShowDevXYZ = kept.ShowDevXYZ;
        m.view.GridLength = applied.gridLength;
        carryLayoutOver(m.view, w_.boxes, owner_.sourcesOf(w_));
        w_.form.redraw();
        w_.form.storeView();
        // The flags on all points are long work: it starts once the editor has gone.
        if (applied.putAll) putAll = applied;
    }
    void deleteCurrentFlag() override {
        deleteFlag(w_.form.model().view, w_.boxes, 0);
        w_.form.storeView();
        w_.form.redraw();
    }
    void deleteAllFlags() override {
        kal::deleteAllFlags(w_.form.model().view, w_.boxes);
        w_.form.redraw();
        w_.form.storeView();
    }

    std::optional<FlagEditorModel::Applied> putAll;  // OK asked for flags on all points

  private:
    FlagWindows& owner_;
    Window& w_;
};

FlagWindows::FlagWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                         ScreenWindows& screens, CalculationWindows* calculation,
                         std::unique_ptr<platform::FontDialogs> fonts, platform::Clipboard& clipboard)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      screens_(screens),
      calculation_(calculation),
      fonts_(std::move(fonts)),
      clipboard_(clipboard),
      context_(std::make_unique<QObject>()) {
    RedrawStages& stages = screens_.scene().stages;
    stages.flagVisibility = [this](RedrawContext& ctx, std::int16_t flag, std::int32_t, bool visible) {
        if (Window* w = entryOfView(ctx.view)) {
            const auto it = w->boxes.find(flag);
            if (it != w->boxes.end()) it->second.visible = visible;
        }
    };
    stages.flagLeader = [this](RedrawContext& ctx, std::int16_t flag, std::int32_t row) {
        Window* w = entryOfView(ctx.view);
        if (w == nullptr || row < 1 || row > ctx.arrays.rows()) return;
        const auto it = w->boxes.find(flag);
        if (it == w->boxes.end()) return;
        ctx.out.add(flagLeaderLine(it->second, ctx.arrays.PixelX[static_cast<std::size_t>(row)],
                                   ctx.arrays.PixelY[static_cast<std::size_t>(row)]));
    };
    openedListener_ = screens_.addWindowOpened([this](FormScreen& window) { attach(window); });
    subscriptions_.push_back(events_.subscribe({JobEvent::PointsReplaced, JobEvent::CalculationEnded,
                                                JobEvent::UseFlagsChanged, JobEvent::UnitsChanged},
                                               Subscriber::Graphics,
                                               [this](JobEvent) { refillAllWindows(); }));
    main_.connectCommand(Command::DynamicFlag, [this] { toggleDynamicFlagMode(); });
}

FlagWindows::~FlagWindows() {
    screens_.removeWindowOpened(openedListener_);
    RedrawStages& stages = screens_.scene().stages;
    stages.flagVisibility = nullptr;
    stages.flagLeader = nullptr;
    for (auto& [form, w] : windows_) {
        auto* window = const_cast<FormScreen*>(form);
        window->surface()->removeEventFilter(w.get());
        if (ScreenNavigationInput* input = ScreenNavigationWindows::of(*window)) {
            input->navigator().hooks().createFlag = nullptr;
            input->navigator().hooks().dynamicFlag = nullptr;
        }
    }
}

void FlagWindows::connectTo(ViewRecordWindows& views, ColorBarWindows& colourBar) {
    views.setFlagHooks([this](FormScreen& window) { removeFlags(window); },
                       [this](FormScreen& window, FlagSource source, std::int32_t pointer) {
                           rebuildFlags(window, source, pointer);
                       });
    colourBar.setFlagRefill([this](FormScreen& window) { refillFlags(window); });
}

FlagWindows::Window* FlagWindows::entryOf(const FormScreen& window) const {
    const auto it = windows_.find(&window);
    return it == windows_.end() ? nullptr : it->second.get();
}

FlagWindows::Window* FlagWindows::entryOfView(const ScreenProperties& view) const {
    for (const auto& [form, w] : windows_)
        if (&form->model().view == &view) return w.get();
    return nullptr;
}

FlagBoxes* FlagWindows::flagsOf(const FormScreen& window) {
    Window* w = entryOf(window);
    return w ? &w->boxes : nullptr;
}

FlagSources FlagWindows::sourcesOf(Window& w) const {
    w.metrics.setWindowFont(w.form.surface()->font());
    return {w.form.model().cloud, job_, w.metrics};
}

void FlagWindows::attach(FormScreen& window) {
    auto entry = std::make_unique<Window>(*this, window);
    Window* w = entry.get();
    windows_[&window] = std::move(entry);
    window.surface()->installEventFilter(w);
    // The window may outlive this object (the program's teardown): the overlay checks first.
    window.addOverlay([guard = QPointer<Window>(w)](const ScreenModel& model, DisplayList& list) {
        if (guard) guard->paint(model, list);
    });
    QObject::connect(&window, &QObject::destroyed, context_.get(),
                     [this, form = &window] { windows_.erase(form); });
    if (ScreenNavigationInput* input = ScreenNavigationWindows::of(window)) {
        NavigationHooks& hooks = input->navigator().hooks();
        hooks.createFlag = [this, &window](std::int32_t row) { createFlagOnRow(window, row); };
        hooks.dynamicFlag = [this, &window](std::int32_t row) { moveDynamicFlag(window, row); };
        input->navigator().modes.DynamicFlagMode = dynamicFlagMode_;
    }
    // A window opened on a view with flags (the default record) shows them.
    resetFlagsFromStoredView(window.model().view, w->boxes, sourcesOf(*w));
}

std::int16_t FlagWindows::createFlagAt(Window& w, std::int32_t row, float x, float y, bool placeAtMouse) {
    ScreenModel& m = w.form.model();
    if (row < 1 || row > m.cloud.count() || row > m.arrays.rows()) return 0;
    FlagCreation at;
    at.row = row;
    at.mouseX = x;
    at.mouseY = y;
    at.pointX = m.arrays.PixelX[static_cast<std::size_t>(row)];
    at.pointY = m.arrays.PixelY[static_cast<std::size_t>(row)];
    at.surfaceWidth = m.width;
    at.surfaceHeight = m.height;
    at.rowVisible = true;  // the cloud's own visible mark is checked with the other rules
    at.withinScreen = pixelWithinScreen(m.arrays, row, surfaceOf(m));
    at.placeAtMouse = placeAtMouse;
    return createFlag(m.view, w.boxes, job_.DefaultScreenProperties, at, sourcesOf(w));
}

std::int16_t FlagWindows::createFlagOnRow(FormScreen& window, std::int32_t row) {
    Window* w = entryOf(window);
    if (w == nullptr) return 0;
    const std::int16_t n = createFlagAt(*w, row, window.model().MouseX, window.model().MouseY, false);
    if (n == 0) return 0;
    window.redraw();
    window.storeView();
    return n;
}

void FlagWindows::moveDynamicFlag(FormScreen& window, std::int32_t row) {
    Window* w = entryOf(window);
    if (w == nullptr) return;
    removeDynamicFlag(*w);
    w->dynamicFlag = createFlagAt(*w, row, window.model().MouseX, window.model().MouseY, false);
    if (w->dynamicFlag != 0) window.storeView();
    window.redraw();
}

bool FlagWindows::removeDynamicFlag(Window& w) {
    if (w.dynamicFlag == 0) return false;
    // Only the flag this mode put is taken away; its number is handed out again when it is
    // still the last one.
    ScreenProperties& view = w.form.model().view;
    deleteFlag(view, w.boxes, w.dynamicFlag);
    if (view.FahneAnzahl == w.dynamicFlag) view.FahneAnzahl = static_cast<std::int16_t>(w.dynamicFlag - 1);
    w.dynamicFlag = 0;
    return true;
}

void FlagWindows::toggleDynamicFlagMode() {
    dynamicFlagMode_ = !dynamicFlagMode_;
    if (QAction* a = main_.action(Command::DynamicFlag)) a->setChecked(dynamicFlagMode_);
    // Saved views would bring their own flags in while the dynamic flag runs.
    if (QToolBar* bar = main_.toolbar(Toolbar::ToolbarSaveView)) bar->setEnabled(!dynamicFlagMode_);
    for (auto& [form, w] : windows_) {
        auto* window = const_cast<FormScreen*>(form);
        // The flag that followed the mouse goes with the mode; the stored view loses it too, so
        // no later window or step brings it back.
        if (!dynamicFlagMode_ && removeDynamicFlag(*w)) {
            window->storeView();
            window->redraw();
        }
        w->dynamicFlag = 0;
        if (ScreenNavigationInput* input = ScreenNavigationWindows::of(*window))
            input->navigator().modes.DynamicFlagMode = dynamicFlagMode_;
    }
}

void FlagWindows::refillFlags(FormScreen& window) {
    Window* w = entryOf(window);
    if (w == nullptr) return;
    refillAllFlags(window.model().view, w->boxes, sourcesOf(*w));
    window.redraw();
}

void FlagWindows::refillAllWindows() {
    for (FormScreen* window : screens_.windows()) refillFlags(*window);
}

void FlagWindows::removeFlags(FormScreen& window) {
    Window* w = entryOf(window);
    if (w == nullptr) return;
    deleteAllFlags(window.model().view, w->boxes);
    w->selectedFlag = 0;
    w->dynamicFlag = 0;
    w->FlagDragActive = false;
    window.redraw();
}

void FlagWindows::rebuildFlags(FormScreen& window, FlagSource, std::int32_t) {
    // The view's layouts are the stored view's by now: each flag goes where they say.
    Window* w = entryOf(window);
    if (w == nullptr) return;
    resetFlagsFromStoredView(window.model().view, w->boxes, sourcesOf(*w));
}

void FlagWindows::flagDoubleClicked(FormScreen& window, std::int16_t number, int row, int column) {
    Window* w = entryOf(window);
    if (w == nullptr || dynamicFlagMode_) return;
    ScreenProperties& view = window.model().view;
    view.CurrentFahne = number;
    if (row == kFlagUseRow && column > 0) {
        // Only x, y and z are observations; under the other columns nothing changes.
        if (column <= 3 && toggleFlagUseMark(view, w->boxes, number, column, job_)) useMarkToggled();
        window.redraw();
        return;
    }
    const auto n = static_cast<std::size_t>(number);
    if (n >= view.FahneProps.size()) return;
    EditorTarget target(*this, *w);
    {
        FormEditFahne editor(view.FahneProps[n], view.GridLength, target, prompter_, *fonts_, &window);
        editor.setPictureSize(window.model().width, window.model().height);
        if (runEditor_)
            runEditor_(editor);
        else
            editor.exec();
    }
    if (target.putAll) putFlagsOnAllVisiblePoints(window, *target.putAll);
}

namespace {

// The progress window of a flag run, which also stops the run when its graphics window went
// while events passed (closed through its frame): the flags have nowhere to go then.
class WindowRunProgress : public platform::Progress {
  public:
    WindowRunProgress(platform::Progress& window, const QPointer<FormScreen>& screen)
        : window_(window), screen_(screen) {}
    void open(const std::string& caption) override { window_.open(caption); }
    void setValue(int percent) override { window_.setValue(percent); }
    bool stopRequested() const override { return window_.stopRequested() || screen_.isNull(); }
    void close() override { window_.close(); }

  private:
    platform::Progress& window_;
    const QPointer<FormScreen>& screen_;
};

}  // namespace

FlagLayoutOutcome FlagWindows::putFlagsOnAllVisiblePoints(FormScreen& window,
                                                          const FlagEditorModel::Applied& applied) {
    Window* w = entryOf(window);
    if (w == nullptr || flagRunActive_) return {};
    ScreenModel& m = window.model();
    const auto current = w->boxes.find(m.view.CurrentFahne);
    FlagCellSize cell;
    if (current != w->boxes.end()) cell = {current->second.table.width, current->second.table.height};
    const bool borderRule =
        applied.placement == FlagPlacement::ScreenBorder || applied.placement == FlagPlacement::NextToBorder;
    FlagLayoutInput in;
    in.surfaceWidth = m.width;
    in.surfaceHeight = m.height;
    in.flagWidth = cell.width;
    in.flagHeight = cell.height;
    in.placement = applied.placement;
    in.radialFactor = applied.radialFactor;
    in.flagOnEvery = applied.flagOnEvery;
    in.identicalCount = job_.IdenticalCount;

    // The run reads its own copy of the points: while events pass the window may redraw.
    const PointCloud cloud = m.cloud;
    const ViewArrays arrays = m.arrays;
    const QPointer<FormScreen> alive(&window);
    WindowRunProgress progress(progress_ ? *progress_ : main_.progressWindow(), alive);
    FlagRunServices services{&prompter_, &progress, pump_, interval_};
    // New flags take the current flag's layout: the border rules' cells hold the largest of them.
    // The close and radial rules use no cells; the current flag's size tells how many fit.
    FlagSizeOfRow sizeOfRow;
    const auto n = static_cast<std::size_t>(m.view.CurrentFahne);
    if (borderRule && n >= 1 && n < m.view.FahneProps.size()) {
        sizeOfRow = [&cloud, &job = job_, layout = m.view.FahneProps[n], colorBased = m.view.ColorBased,
                     metrics = platform::QtTextMetrics(window.surface()->font()),
                     table = FlagTable()](std::int32_t row) mutable {
            fillFlag(table, layout, row, cloud, job, colorBased, metrics);
            return FlagSize{table.width, table.height};
        };
    }

    // The run numbers its flags after those handed out, and the border rules leave the flags
    // already in the picture where they are, uncovered.
    FlagsOnWindow onWindow;
    onWindow.flagNumbersLeft = kMaxFlagNumber - m.view.FahneAnzahl;
    for (const auto& [number, box] : w->boxes)
        if (box.visible) onWindow.areas.push_back({box.left, box.top, box.table.width, box.table.height});

    // While the run lets events through, the job's commands and this window wait.
    struct Busy {
        FlagWindows& owner;
        QPointer<QWidget> frame;
        LongWorkLock lock;
        Busy(FlagWindows& o, QWidget* f) : owner(o), frame(f) {
            owner.flagRunActive_ = true;
            lock.setRunning(owner.main_, owner.calculation_, true);
            frame->setEnabled(false);
        }
        ~Busy() {
            if (frame) frame->setEnabled(true);
            lock.setRunning(owner.main_, owner.calculation_, false);
            owner.flagRunActive_ = false;
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };
    FlagLayoutOutcome outcome;
    {
        const Busy busy(*this, window.parentWidget() ? window.parentWidget() : &window);
        outcome = putFlagsOnAllPoints(
            in, cloud, arrays,
            [&](std::int32_t row, float x, float y) {
                return !alive.isNull() && createFlagAt(*w, row, x, y, borderRule) != 0;
            },
            services, sizeOfRow, onWindow);
    }
    if (alive.isNull()) return outcome;
    if (outcome.screenFull) prompter_.message(kScreenFullMessage);
    if (outcome.limitReached) prompter_.message(flagLimitMessage(outcome.flagsPut, outcome.flagsLeftOut));
    if (outcome.declined) return outcome;
    window.redraw();
    window.storeView();
    return outcome;
}

void FlagWindows::useMarkToggled() {
    // The calculation window's point table follows (its own subscription), and an open window
    // recalculates when AutoRecalc asks for it.
    events_.publish(JobEvent::UseFlagsChanged);
    if (calculation_ == nullptr || calculation_->window() == nullptr || !job_.AutoRecalc) return;
    if (PointTable* table = calculation_->window()->pointTable()) emit table->recalculationRequested();
}

}  // namespace kal
