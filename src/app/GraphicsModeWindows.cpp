#include "app/GraphicsModeWindows.h"

#include "app/ScreenNavigationWindows.h"
#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {

GraphicsModeWindows::GraphicsModeWindows(JobState& job, JobEvents& events, FormMain& main,
                                         ScreenWindows& screens)
    : job_(job), main_(main), screens_(screens) {
    main_.connectCommand(Command::AnalyseMode, [this] { toggleAnalyseMode(); });
    subscriptions_.push_back(events.subscribe({JobEvent::JobReset, JobEvent::PointsReplaced},
                                              Subscriber::Graphics, [this](JobEvent) { measureAxesAnew(); }));
    // A new job has no picked origin point.
    subscriptions_.push_back(events.subscribe(JobEvent::JobReset, Subscriber::Graphics, [this] {
        screens_.session().OriginPointName.clear();
        for (FormScreen* form : screens_.windows()) form->model().origin.OriginPointIndex = 0;
    }));
}

GraphicsModeWindows::~GraphicsModeWindows() { subscriptions_.clear(); }

void GraphicsModeWindows::measureAxesAnew() {
    // The axis length comes from the MCS box, which each window keeps until its points change.
    for (FormScreen* form : screens_.windows()) {
        OverlayState& overlays = form->model().overlays;
        overlays.extents.invalidate();
        ++overlays.jobChange;
        form->redraw();
    }
}

void GraphicsModeWindows::pointPicked(FormScreen& window, const std::string& name) {
    if (!showOnMainSheet(name)) return;  // the sheet is not shown: the pick only rings the point
    window.setPointer(ScreenPointer::Default);
}

void GraphicsModeWindows::tablePointSelected(const std::string& name) {
    const QAction* graphics = main_.action(Command::GraphicsWindow);
    const QAction* sheet = main_.action(Command::MainSheet);
    if (!graphics || !graphics->isChecked() || !sheet || !sheet->isChecked()) return;
    if (!showOnMainSheet(name)) return;
    // The selected point is ringed in every window, as after a pick.
    for (FormScreen* form : screens_.windows()) form->redraw();
}

bool GraphicsModeWindows::showOnMainSheet(const std::string& name) {
    if (!goToPoint_ || name.empty()) return false;
    const std::optional<int> row = goToPoint_(name);
    if (!row) return false;
    if (*row > 0) {
        job_.OriginPointIndex = *row;
        screens_.session().OriginPointName = name;
        for (FormScreen* form : screens_.windows()) form->model().origin.OriginPointIndex = *row;
    }
    if (QAction* rotate = main_.action(Command::RotateAbout)) rotate->setChecked(false);
    // The sheet's row change has selected the point through the sheet; the chosen name has the
    // last word (the sheet may not list it).
    screens_.session().SelectedPointName = name;
    return true;
}

void GraphicsModeWindows::toggleAnalyseMode() {
    GraphicsSession& session = screens_.session();
    session.AnalyseFlag = !session.AnalyseFlag;
    main_.action(Command::AnalyseMode)->setChecked(session.AnalyseFlag);
    for (Command c : {Command::AnalyseMore, Command::AnalyseLess, Command::AnalyseKeepPoints})
        main_.action(c)->setEnabled(session.AnalyseFlag);
    if (session.AnalyseFlag) {
        if (FormScreen* f = screens_.defaultWindow())
            if (ScreenNavigationInput* input = ScreenNavigationWindows::of(*f)) input->startAnalyse();
        return;
    }
    // Off ends the animation wherever it runs (the default window may have changed meanwhile).
    for (FormScreen* form : screens_.windows())
        if (ScreenNavigationInput* input = ScreenNavigationWindows::of(*form)) input->stopAnalyse();
}

}  // namespace kal
