#include "app/CalculationWindows.h"

#include <QMenu>

#include "calculation/ui/PointTable.h"
#include "shell/CalculationWindowSwitch.h"
#include "shell/ui/WindowCapture.h"

namespace kal {

namespace {
constexpr const char* kWindowName = "FormTrafoBerechnung";
}

CalculationWindows::CalculationWindows(JobState& job, JobEvents& events, FormMain& main,
                                       platform::Prompter& prompter, std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      settingsWritable_(std::move(settingsWritable)) {
    main_.connectCommand(Command::CalculationWindow, [this] { switchWindow(); });
    // While a calculation runs, the commands that change the job wait.
    subscriptions_.push_back(events_.subscribe(
        {JobEvent::CalculationStarted, JobEvent::CalculationEnded}, Subscriber::MainWindow,
        [this](JobEvent e) { main_.setLongWorkRunning(e == JobEvent::CalculationStarted); }));
}

CalculationWindows::~CalculationWindows() {
    subscriptions_.clear();
    if (sub_) delete sub_.data();
}

void CalculationWindows::switchWindow() {
    switchCalculationWindow(job_.IdenticalCount, prompter_,
                            CalculationWindowHooks{[this] { return form_ != nullptr; },
                                                   [this] { ensureOpen(); }, [this] { close(); }});
    showOpenState();  // a refused switch leaves the button as the window is
}

void CalculationWindows::showOpenState() {
    if (QAction* a = main_.action(Command::CalculationWindow)) a->setChecked(form_ != nullptr);
}

FormTrafoBerechnung& CalculationWindows::ensureOpen() {
    if (form_) return *form_;
    CalculationWindowServices hooks;
    hooks.writeSettings = [this](const std::vector<IniEntry>& entries) {
        if (job_.IniFilePath.empty() || (settingsWritable_ && !settingsWritable_())) return;
        try {
            writeIniValues(job_.IniFilePath, entries);
        } catch (const std::exception& e) {
            prompter_.message(e.what());
        }
    };
    hooks.showStopWindow = [this] { main_.paraStopWindow().open(); };
    hooks.setStopWindowEnabled = [this](bool enabled) { main_.paraStopWindow().setStopEnabled(enabled); };
    hooks.closeStopWindow = [this] { main_.paraStopWindow().close(); };
    hooks.resetResultDisplay = [this] {
        if (results_) results_->resetDisplay();
    };
    hooks.showStepSigmas = [this](double s0, double sigmaXyz) {
        if (results_) results_->showStepSigmas(s0, sigmaXyz);
    };
    hooks.showDetails = showDetails_;
    const platform::Services services{&prompter_, &clipboard_, &eventPump_, nullptr, &main_.progressWindow()};
    form_ = new FormTrafoBerechnung(job_, events_, services, std::move(hooks));
    attachResultDisplay(services);
    sub_ = main_.mdiArea()->addSubWindow(form_);
    sub_->setAttribute(Qt::WA_DeleteOnClose);
    sub_->resize(form_->size());
    main_.windowPositions().restore(sub_, kWindowName);

    QObject::connect(form_, &FormTrafoBerechnung::closed, form_, [this, sub = sub_] {
        main_.windowPositions().store(sub, kWindowName);
        form_ = nullptr;
        sub_ = nullptr;
        showOpenState();
    });
    QObject::connect(form_, &FormTrafoBerechnung::contextMenuRequested, form_, [this](const QPoint& at) {
        // What the Edit menu acts on: the table's own values and text of the right-click block.
        if (const PointTable* table = form_->pointTable()) {
            job_.AuswahlPkt = table->selectedValues();
            job_.AnzAuswahl = static_cast<std::int32_t>(job_.AuswahlPkt.size());
            job_.ClipboardText = table->clipboardText();
        }
        if (QAction* edit = main_.action(Command::EditMenu); edit && edit->menu()) edit->menu()->popup(at);
    });
    QObject::connect(form_, &FormTrafoBerechnung::pointSelected, form_, [this](const QString& name) {
        if (pointSelected_) pointSelected_(name.toStdString());
    });
    // "copy this Form to clipboad": a picture of the window.
    QObject::connect(form_, &FormTrafoBerechnung::copyFormRequested, form_,
                     [this] { captureToClipboard(form_, clipboard_); });
    sub_->show();
    showOpenState();
    return *form_;
}

// The result boxes, arrows and report of the window, subscribed after the window itself so that
// its parameter rows show a calculation before the results do.
void CalculationWindows::attachResultDisplay(const platform::Services& services) {
    CalculationResultDisplay::SigmaBoxes boxes{};
    for (int slot = 1; slot <= kParamCount; ++slot)
        boxes[static_cast<std::size_t>(slot)] = {form_->row(slot).sigma, form_->row(slot).significance};
    FormTrafoBerechnung* form = form_;
    results_ = new CalculationResultDisplay(
        job_, events_, *form, boxes, form->panel(), form->flow().results(), [form] { form->showPanel(); },
        services);
    // A double click on a point-name box of the statistics leaves that point's residual out of the
    // adjustment, or takes it back in: the component of the box, all three for the 3-D maximum.
    QObject::connect(results_, &CalculationResultDisplay::extremeNameDoubleClicked, form,
                     [form](int extreme, const QString& name) {
                         const std::string point = name.toStdString();
                         if (extreme == kExtMaxXyz)
                             form->switchMaxPointAllComponents(point);
                         else
                             form->switchMaxPoint(point, extremeComponent(static_cast<ExtremeIndex>(extreme)));
                     });
}

void CalculationWindows::reopen() {
    if (!form_) return;
    close();
    if (!form_) ensureOpen();
}

void CalculationWindows::close() {
    if (sub_) sub_->close();
}

}  // namespace kal
