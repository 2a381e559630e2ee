#include "app/ColorBarWindows.h"

#include <QAction>
#include <QEvent>

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

ColorBarWindows::ColorBarWindows(JobState& job, FormMain& main, platform::Prompter& prompter)
    : job_(job),
      main_(main),
      prompter_(prompter),
      colours_(&main),
      find_(
          [this]() -> ColourBarTarget* { return dynamic_cast<ColourBarTarget*>(main_.findDefaultWindow()); }),
      model_(job, [this] { return find_ ? find_() : nullptr; }) {
    main_.connectCommand(Command::ColorBar, [this] { toggleDialog(); });
    main_.connectCommand(Command::ColorBarSettings, [this] { toggleSettings(); });
}

ColorBarWindows::~ColorBarWindows() {
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

void ColorBarWindows::lastWindowClosed() {
    if (form_) form_->close();
}

}  // namespace kal
