#include "app/ScreenWindows.h"

#include <QMdiArea>
#include <exception>

#include "shared/IniFile.h"
#include "shared/ui/WindowPosQt.h"
#include "shell/WindowTiling.h"
#include "shell/ui/MainWindowCommands.h"
#include "shell/ui/WindowCapture.h"
#include "view3d/GraphicsCommands.h"
#include "view3d/HidingPlane.h"
#include "view3d/HidingPlaneDialog.h"
#include "view3d/ui/FormBlackPlane.h"

namespace kal {

namespace {
constexpr const char* kWindowName = "FormScreen";  // one position for every graphics window

ScreenPointer screenPointer(GraphicsPointer p) {
    switch (p) {
        case GraphicsPointer::Flag:
            return ScreenPointer::Flag;
        case GraphicsPointer::SetLine:
            return ScreenPointer::SetLine;
        case GraphicsPointer::DeleteLine:
            return ScreenPointer::DeleteLine;
        case GraphicsPointer::Default:
            break;
    }
    return ScreenPointer::Default;
}
}  // namespace

// One open window as the main window's registry and the hiding-plane dialog see it.
struct ScreenWindows::Window : GraphicsWindow, HidingPlaneWindow {
    FormScreen* form = nullptr;
    QPointer<QMdiSubWindow> sub;

    void setCaption(const std::string& caption) override { form->setCaption(caption); }
    GraphicsModes modes() const override {
        const ScreenModel& m = form->model();
        return {m.view.VectorMode, m.view.Faehnchenmode, m.view.LineMode, m.SetLine, m.DeleteLine};
    }
    void setModes(const GraphicsModes& modes) override {
        ScreenModel& m = form->model();
        m.view.VectorMode = modes.VectorMode;
        m.view.Faehnchenmode = modes.Faehnchenmode;
        m.view.LineMode = modes.LineMode;
        m.SetLine = modes.SetLine;
        m.DeleteLine = modes.DeleteLine;
    }
    void setPointer(GraphicsPointer pointer) override { form->setPointer(screenPointer(pointer)); }
    void redraw() override { form->redraw(); }
    void closeWindow() override { form->closeWindow(); }

    // HidingPlaneWindow
    ScreenProperties& screenProperties() override { return form->model().view; }
    void initialiseBlackPlane(bool activate, bool showBorders) override {
        ScreenModel& m = form->model();
        initialiseHidingPlane(m.view, viewProjection(m.view, m.origin, surfaceOf(m)), activate, showBorders);
        form->redraw();
    }
    void makeAllPointsVisible() override { markAllPointsVisible(form->model().cloud); }
    void storeScreenProperties() override { form->storeView(); }
};

ScreenWindows::ScreenWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                             std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      settingsWritable_(std::move(settingsWritable)) {
    connectCommands();
    QObject::connect(main_.mdiArea(), &QMdiArea::subWindowActivated, main_.mdiArea(),
                     [this](QMdiSubWindow* sub) { activated(sub); });
    subscriptions_.push_back(events_.subscribe({JobEvent::PointsReplaced, JobEvent::CalculationEnded},
                                               Subscriber::Graphics, [this](JobEvent) { rebuildAll(); }));
    // Grid labels and scale bars speak the display unit.
    subscriptions_.push_back(
        events_.subscribe({JobEvent::UnitsChanged}, Subscriber::Graphics, [this](JobEvent) {
            for (const auto& w : windows_) w->form->redraw();
        }));
}

ScreenWindows::~ScreenWindows() {
    subscriptions_.clear();
    for (const auto& w : windows_) {
        QObject::disconnect(w->form, nullptr, nullptr, nullptr);
        main_.graphicsWindows().remove(w.get());
        if (w->sub) delete w->sub.data();
    }
}

std::vector<FormScreen*> ScreenWindows::windows() const {
    std::vector<FormScreen*> out;
    for (const auto& w : windows_) out.push_back(w->form);
    return out;
}

ScreenWindows::Window* ScreenWindows::entryOf(FormScreen* form) const {
    for (const auto& w : windows_)
        if (w->form == form) return w.get();
    return nullptr;
}

ScreenWindows::Window* ScreenWindows::defaultEntry() {
    GraphicsWindow* d = main_.findDefaultWindow();
    for (const auto& w : windows_)
        if (w.get() == d) return w.get();
    return nullptr;
}

FormScreen* ScreenWindows::defaultWindow() {
    Window* w = defaultEntry();
    return w ? w->form : nullptr;
}

ScreenServices ScreenWindows::servicesFor(Window&) {
    ScreenServices s;
    s.drawScene = [this](ScreenModel& m) { drawScreen(m, job_, session_, scene_); };
    s.project = [this](ScreenModel& m) { projectScreen(m, job_, session_); };
    s.resized = [this](ScreenModel& m, SurfaceSize before) { followScreenResize(m, before, job_, scene_); };
    s.storeView = [this](FormScreen& form) {
        if (storeView_)
            storeView_(form);
        else {
            job_.DefaultScreenProperties = form.model().view;
            job_.DefaultViewPointsStamp = form.model().pointsStamp;
        }
    };
    return s;
}

// ---------------------------------------------------------------- open, activate, unload

FormScreen& ScreenWindows::open() {
    main_.action(Command::GraphicsWindow)->setChecked(true);
    auto entry = std::make_unique<Window>();
    Window& w = *entry;
    w.form = new FormScreen(session_, {}, &prompter_);
    w.form->services() = servicesFor(w);
    w.sub = main_.mdiArea()->addSubWindow(w.form);
    w.sub->setAttribute(Qt::WA_DeleteOnClose);
    w.sub->resize(660, 520);
    main_.windowPositions().restore(w.sub, kWindowName);
    // Every graphics window restores the one stored place: a window opened beside another would
    // hide it exactly, as if it had not opened. It stands one cascade step further instead.
    if (!windows_.empty() && windows_.back()->sub) {
        const QRect previous = windows_.back()->sub->geometry();
        const QRect area = main_.mdiArea()->viewport()->rect();
        const QSize least = usableMinimumSize(w.sub);
        const TileRect place =
            nextCascadePlace(previous.x(), previous.y(), {w.sub->width(), w.sub->height()},
                             {least.width(), least.height()}, area.width(), area.height(),
                             cascadeStep(*main_.mdiArea()));
        w.sub->setGeometry(place.x, place.y, place.width, place.height);
    }
    QObject::connect(w.form, &FormScreen::closing, w.form, [this](FormScreen* form) { unload(form); });
    windows_.push_back(std::move(entry));
    main_.graphicsWindows().add(&w);  // the new window is the default one

    w.sub->showNormal();
    ScreenModel& model = w.form->model();
    model.width = w.form->surface()->width();
    model.height = w.form->surface()->height();
    try {
        loadScreen(model, job_, scene_, session_, job_.ScreenBackColor);
    } catch (const std::exception& e) {
        prompter_.message(e.what());
    }
    w.form->setBackColour(model.backColour);
    w.form->redraw();
    for (const auto& [listener, opened] : windowOpened_)
        if (opened) opened(*w.form);
    main_.refreshControls();
    return *w.form;
}

void ScreenWindows::activated(QMdiSubWindow* sub) {
    Window* w = nullptr;
    for (const auto& e : windows_)
        if (sub && e->sub == sub) w = e.get();
    if (!w) {
        session_.ScreenWindowActive = false;  // another child, or none, is active
        return;
    }
    session_.ScreenWindowActive = true;
    main_.graphicsWindows().activate(w);
    main_.refreshControls();
    w->form->redraw();
}

void ScreenWindows::unload(FormScreen* form) {
    Window* w = entryOf(form);
    if (!w) return;
    writeSetting("GraphicsSettings", "ScreenBackColor", std::to_string(form->model().backColour));
    if (w->sub) main_.windowPositions().store(w->sub, kWindowName);
    main_.graphicsWindows().remove(w);
    form->model().view.Faehnchenmode = false;
    form->model().view.LineMode = false;
    // Closing any window clears the rotation origin of every window.
    for (const auto& e : windows_) {
        e->form->model().origin.OriginShiftX = 0;
        e->form->model().origin.OriginShiftY = 0;
        e->form->model().origin.OriginShiftZ = 0;
    }
    std::erase_if(windows_, [w](const std::unique_ptr<Window>& e) { return e.get() == w; });
    if (windows_.empty()) session_.ScreenWindowActive = false;
    main_.refreshControls();
}

void ScreenWindows::rebuildAll() {
    for (const auto& w : windows_) {
        try {
            buildScreenCloud(w->form->model(), job_, scene_, session_);
        } catch (const std::exception& e) {
            prompter_.message(e.what());
        }
        w->form->redraw();
    }
}

void ScreenWindows::writeSetting(const std::string& section, const std::string& key,
                                 const std::string& value) {
    if (job_.IniFilePath.empty() || (settingsWritable_ && !settingsWritable_())) return;
    try {
        writeIniValues(job_.IniFilePath, {IniEntry{section, key, value}});
    } catch (const std::exception& e) {
        prompter_.message(e.what());
    }
}

// ---------------------------------------------------------------- the main window's commands

void ScreenWindows::onDefault(const std::function<void(Window&)>& command) {
    // Every command needs a window to act on, whatever the enabled states say.
    if (Window* w = defaultEntry()) command(*w);
}

void ScreenWindows::zoomIn() {
    onDefault([](Window& w) { w.form->zoomIn(); });
}

void ScreenWindows::zoomOut() {
    onDefault([](Window& w) { w.form->zoomOut(); });
}

void ScreenWindows::printToClipboard() {
    onDefault([this](Window& w) {
        const QImage picture =
            w.form->printPicture([](QWidget* window) { return captureClientArea(window); });
        if (picture.isNull()) return;
        clipboard_.clear();
        clipboard_.setImage(picture);
    });
}

void ScreenWindows::showHidingPlaneDialog() {
    if (!defaultEntry()) return;
    DialogPlacement placement;
    placement.restore = [this](QWidget* w, const std::string& name) {
        main_.windowPositions().restore(w, name);
    };
    placement.store = [this](QWidget* w, const std::string& name) { main_.windowPositions().store(w, name); };
    FormBlackPlane dialog([this]() -> HidingPlaneWindow* { return defaultEntry(); }, job_, placement,
                          [this](const std::string& why) { prompter_.message(why); }, &main_);
    dialog.exec();
}

void ScreenWindows::connectCommands() {
    using C = Command;
    auto refresh = [this] { main_.refreshControls(); };
    main_.connectCommand(C::GraphicsWindow, [this] { open(); });
    main_.connectCommand(C::GraphicsButton, [this] { open(); });
    main_.connectCommand(C::ZoomIn, [this] { zoomIn(); });
    main_.connectCommand(C::ZoomOut, [this] { zoomOut(); });
    main_.connectCommand(C::PrintGraphicsToClipboard, [this] { printToClipboard(); });
    main_.connectCommand(C::HidingPlane, [this] { showHidingPlaneDialog(); });
    main_.connectCommand(C::ZoomAll, [this] {
        onDefault([this](Window& w) {
            fitScreen(w.form->model(), job_, session_, scene_);
            w.form->redraw();
            w.form->storeView();
        });
    });
    main_.connectCommand(C::CenterView, [this] {
        onDefault([this](Window& w) {
            centreScreen(w.form->model(), job_, session_, scene_);  // an empty cloud keeps the offsets
            w.form->storeView();
            w.form->redraw();
        });
    });
    main_.connectCommand(C::TopView, [this] { onDefault([](Window& w) { w.form->topView(); }); });
    main_.connectCommand(C::SideView, [this] { onDefault([](Window& w) { w.form->sideView(); }); });
    main_.connectCommand(C::FrontView, [this] { onDefault([](Window& w) { w.form->frontView(); }); });
    main_.connectCommand(C::IsometricView, [this] { onDefault([](Window& w) { w.form->isoView(); }); });
    main_.connectCommand(C::RotateAbout, [this] {
        onDefault([this](Window& w) {
            // The entry's own check mark says whether the next projection recentres.
            const bool on = main_.action(Command::RotateAbout)->isChecked();
            w.form->model().origin.RecentreFlag = on;
            w.form->setPointer(on ? ScreenPointer::Cross : ScreenPointer::Default);
        });
    });
    main_.connectCommand(C::PointsBigger, [this] {
        onDefault([](Window& w) { pointsBigger(w.form->model(), w.form->actions()); });
    });
    main_.connectCommand(C::PointsSmaller, [this] {
        onDefault([](Window& w) { pointsSmaller(w.form->model(), w.form->actions()); });
    });
    main_.connectCommand(C::SmallPoints, [this] {
        onDefault([](Window& w) { smallPoints(w.form->model(), w.form->actions()); });
    });
    main_.connectCommand(C::VectorMode, [this, refresh] {
        onDefault([refresh](Window& w) { toggleVectorMode(w.form->model(), w.form->actions(), refresh); });
    });
    main_.connectCommand(C::VectorsLonger, [this] {
        onDefault([this](Window& w) { vectorsLongerCommand(w.form->model(), session_, w.form->actions()); });
    });
    main_.connectCommand(C::VectorsShorter, [this] {
        onDefault([this](Window& w) { vectorsShorterCommand(w.form->model(), session_, w.form->actions()); });
    });
    main_.connectCommand(C::AnalyseMore, [this] {
        onDefault([](Window& w) { analyseMore(w.form->model(), w.form->actions()); });
    });
    main_.connectCommand(C::AnalyseLess, [this] {
        onDefault([](Window& w) { analyseLess(w.form->model(), w.form->actions()); });
    });
    main_.connectCommand(C::AnalyseKeepPoints, [this] {
        session_.StopDrawFlag = !session_.StopDrawFlag;
        main_.action(Command::AnalyseKeepPoints)->setChecked(session_.StopDrawFlag);
    });
    // The mode commands read the window's mode, which the refresher shows as the check mark.
    auto mode = [this](ModeToggle (*toggle)(ScreenModel&, bool), bool (*current)(const ScreenModel&)) {
        return [this, toggle, current] {
            onDefault([this, toggle, current](Window& w) {
                const ModeToggle t = toggle(w.form->model(), current(w.form->model()));
                if (t.pointerToDefault) w.form->setPointer(ScreenPointer::Default);
                main_.refreshControls();
                if (t.redraw) w.form->redraw();
            });
        };
    };
    main_.connectCommand(C::FlagMode,
                         mode(toggleFlagMode, [](const ScreenModel& m) { return m.view.Faehnchenmode; }));
    main_.connectCommand(C::LineMode,
                         mode(toggleLineMode, [](const ScreenModel& m) { return m.view.LineMode; }));
    main_.connectCommand(C::SetLines, mode(toggleSetLine, [](const ScreenModel& m) { return m.SetLine; }));
    main_.connectCommand(C::DeleteLines,
                         mode(toggleDeleteLine, [](const ScreenModel& m) { return m.DeleteLine; }));
}

}  // namespace kal
