#include "app/ColorBarWindows.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "annotation/ClassColours.h"
#include "annotation/ColouringHooks.h"

namespace kal {

namespace {

// Runs `onClose` when the watched window closes, whichever way it is closed.
class CloseWatcher : public QObject {
  public:
    explicit CloseWatcher(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) onClose_();
        return false;
    }

  private:
    std::function<void()> onClose_;
};

}  // namespace

// A graphics window as the dialog sees it, pointed at the default window on every look-up.
class ColorBarWindows::ScreenTarget : public ColourBarTarget {
  public:
    ScreenTarget(const JobState& job, ScreenWindows& screens, std::map<const FormScreen*, bool>& setMax)
        : job_(job), screens_(screens), setMax_(setMax) {}
    void point(FormScreen* form) { form_ = form; }

    ScreenProperties& colourSettings() override { return form_->model().view; }
    bool& setMinMaxOnChange() override { return setMax_[form_]; }
    void recolour(bool) override {  // the hooks read the two-colour switch themselves
        ScreenModel& m = form_->model();
        classifyCloud(screens_.scene().colouring, m.cloud, m.view, job_);
        colourCloud(screens_.scene().colouring, m.cloud, m.view, job_);
    }
    const PointCloud& classifiedCloud() override {
        ScreenModel& m = form_->model();
        classifyCloud(screens_.scene().colouring, m.cloud, m.view, job_);
        return m.cloud;
    }
    void storeViewAndRedraw() override {
        form_->storeView();
        form_->redraw();
        if (refillFlags) refillFlags(*form_);  // the flags show the new class colours
    }
    std::function<void(FormScreen&)> refillFlags;

  private:
    const JobState& job_;
    ScreenWindows& screens_;
    std::map<const FormScreen*, bool>& setMax_;
    FormScreen* form_ = nullptr;
};

ColorBarWindows::ColorBarWindows(JobState& job, FormMain& main, platform::Prompter& prompter,
                                 ScreenWindows& screens)
    : job_(job),
      main_(main),
      prompter_(prompter),
      screens_(screens),
      context_(std::make_unique<QObject>()),
      colours_(&main),
      screenTarget_(std::make_unique<ScreenTarget>(job, screens, setMaxOnChange_)),
      find_([this] { return defaultScreenTarget(); }),
      model_(job, [this] { return find_ ? find_() : nullptr; }) {
    main_.connectCommand(Command::ColorBar, [this] { toggleDialog(); });
    main_.connectCommand(Command::ColorBarSettings, [this] { toggleSettings(); });

    // Every window colours its cloud by its own classes and draws the bar; two-colour mode is
    // the dialog's switch.
    auto twoColour = [this] { return model_.twoColourActive(); };
    screens_.scene().colouring = toleranceColouring(twoColour);
    screens_.scene().stages.colourBar = colourBarStage(twoColour);
    // The fit keeps the points out of the bar's column.
    screens_.scene().colourBarColumn = [](int width, int height) {
        return colourBarColumnWidth(width, height);
    };
    openedListener_ = screens_.addWindowOpened([this](FormScreen& form) {
        QObject::connect(&form, &FormScreen::closing, context_.get(), [this](FormScreen* closing) {
            setMaxOnChange_.erase(closing);
            if (screens_.windows().empty()) lastWindowClosed();
        });
        windowLoaded();
    });
    QObject::connect(main_.mdiArea(), &QMdiArea::subWindowActivated, context_.get(),
                     [this](QMdiSubWindow* sub) {
                         if (sub && qobject_cast<FormScreen*>(sub->widget())) windowActivated();
                     });
}

ColourBarTarget* ColorBarWindows::defaultScreenTarget() {
    FormScreen* form = screens_.defaultWindow();
    if (!form) return nullptr;
    screenTarget_->point(form);
    return screenTarget_.get();
}

ColorBarWindows::~ColorBarWindows() {
    // The windows may outlive this wiring: they go back to the stand-in colouring.
    screens_.scene().colouring = {};
    screens_.scene().stages.colourBar = {};
    screens_.scene().colourBarColumn = {};
    screens_.removeWindowOpened(openedListener_);
    context_.reset();
    if (form_) {
        form_->removeEventFilter(closeWatcher_.get());
        delete form_.data();
    }
}

void ColorBarWindows::setColourBarChecked(bool checked) {
    if (QAction* a = main_.action(Command::ColorBar)) a->setChecked(checked);
    model_.setMenuChecked(checked);
}

FormColorBar& ColorBarWindows::ensureLoaded() {
    if (form_) return *form_;
    form_ = new FormColorBar(model_, colours_, prompter_, &main_);
    form_->setWindowFlag(Qt::Tool);
    form_->setAttribute(Qt::WA_DeleteOnClose);
    main_.windowPositions().restore(form_, "FormColorBar");
    closeWatcher_ = std::make_unique<CloseWatcher>([this] { dialogClosed(); });
    form_->installEventFilter(closeWatcher_.get());
    QObject::connect(form_, &FormColorBar::expandedToggled, form_, [this](bool expanded) {
        if (QAction* a = main_.action(Command::ColorBarSettings)) a->setChecked(expanded);
    });
    // Every load takes the default window's settings and applies them once (SetFormtoVars, Update).
    model_.mutableFields().autoApply = true;
    model_.load();
    model_.update();
    form_->refresh();
    return *form_;
}

void ColorBarWindows::dialogClosed() {
    if (QAction* a = main_.action(Command::ColorBarSettings)) a->setChecked(false);
    setColourBarChecked(false);
    job_.ColourBarShown = false;
    if (form_) main_.windowPositions().store(form_, "FormColorBar");
}

void ColorBarWindows::toggleDialog() {
    if (job_.ColourBarShown && form_) {
        form_->close();
        return;
    }
    if (!find_ || !find_()) return;  // no graphics window: nothing to set
    FormColorBar& form = ensureLoaded();
    setColourBarChecked(true);
    job_.ColourBarShown = true;
    // A dialog loaded hidden still holds the window it was loaded for: it shows the limits of the
    // default window now, which another window may have become meanwhile.
    model_.load();
    form.refresh();
    form.show();
    form.raise();
}

void ColorBarWindows::toggleSettings() {
    if (!form_ && (!find_ || !find_())) return;
    FormColorBar& form = ensureLoaded();
    const bool expand = !form.isExpanded();
    form.setExpanded(expand);
    if (QAction* a = main_.action(Command::ColorBarSettings)) a->setChecked(expand);
    if (expand) setColourBarChecked(true);
}

void ColorBarWindows::windowLoaded() {
    if (form_) {
        model_.update();
        // What the new window holds now, also where the update was refused, so the dialog and
        // the window's bar never show two different limits.
        model_.load();
        form_->refresh();
    } else {
        ensureLoaded();  // loaded hidden: the dialog shows only through "Color Bar"
    }
}

void ColorBarWindows::windowActivated() {
    if (!job_.ColourBarShown || !form_) return;
    model_.load();
    form_->refresh();
}

void ColorBarWindows::attach(JobEvents& events, ViewRecordWindows& records) {
    records.setColourHooks(
        [this](bool onlyWhenShown) {
            if (onlyWhenShown && !job_.ColourBarShown) return;
            ensureLoaded();
            model_.load();
            form_->refresh();
        },
        [this] {
            ensureLoaded();
            model_.update();
            form_->refresh();
        });
    // The dialog showed the classes of the points being replaced.
    newPoints_ = events.subscribe(JobEvent::PointsReplaced, Subscriber::Other, [this] {
        if (job_.ColourBarShown && form_) form_->close();
    });
}

void ColorBarWindows::viewRestored(bool savedView) {
    FormColorBar& form = ensureLoaded();
    if (savedView || job_.ColourBarShown) model_.load();
    model_.update();
    form.refresh();
}

void ColorBarWindows::lastWindowClosed() {
    if (form_) form_->close();
}

void ColorBarWindows::setFlagRefill(std::function<void(FormScreen&)> refill) {
    screenTarget_->refillFlags = std::move(refill);
}

}  // namespace kal
