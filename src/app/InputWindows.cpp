#include "app/InputWindows.h"

#include <QStyle>

#include "platform/qt/QtShellOpener.h"

namespace kal {

namespace {

constexpr const char* kWindowName = "FormInputFiles";

// The system's program for the file, or its file browser for a folder (ShellExecute "Open" and
// "explore"). A path the system cannot show is said, not ignored.
void openWithSystem(const std::string& path, platform::Prompter& prompter) {
    if (path.empty() || !platform::QtShellOpener().openDocument(path))
        prompter.message("The system could not open\n" + path);
}

}  // namespace

InputWindows::InputWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                           platform::FileDialogs& fileDialogs, CalculationWindows* calculation,
                           std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      fileDialogs_(fileDialogs),
      calculation_(calculation),
      settingsWritable_(std::move(settingsWritable)) {
    main_.connectCommand(Command::InputFiles, [this] { open(); });
    // A load must not replace the points under a running calculation.
    subscriptions_.push_back(events_.subscribe({JobEvent::CalculationStarted, JobEvent::CalculationEnded},
                                               Subscriber::Other, [this](JobEvent e) {
                                                   calculationRunning_ = e == JobEvent::CalculationStarted;
                                                   if (form_) form_->setJobBusy(calculationRunning_);
                                               }));
}

InputWindows::~InputWindows() {
    subscriptions_.clear();
    if (sub_) delete sub_.data();
}

FormInputFiles& InputWindows::open() {
    if (form_) {
        // The boxes are filled from the job at every opening.
        if (!form_->model().state().loadRunning) form_->refill();
        main_.mdiArea()->setActiveSubWindow(sub_);
        return *form_;
    }
    InputFilesWindowServices services;
    services.fileDialogs = &fileDialogs_;
    services.loadServices = [this] { return loadServices(); };
    services.loadRunning = [this](bool running) { loadRunning(running); };
    services.loaded = [this](const PointLoadOutcome& outcome) { loaded(outcome); };
    services.openFile = [this](const std::string& path) { openWithSystem(path, prompter_); };
    services.exploreFolder = [this](const std::string& folder) { openWithSystem(folder, prompter_); };
    if (tools_) {
        services.fromClipboard = [this](PathBox box) {
            const ClipboardPointFile file = box == PathBox::Mcs   ? ClipboardPointFile::Mcs
                                            : box == PathBox::Ocs ? ClipboardPointFile::Ocs
                                                                  : ClipboardPointFile::MoreMcs;
            const std::string path = tools_->pointFileFromClipboard(file);
            if (!path.empty() && form_) form_->showPath(box, path);
        };
        services.importMoreMcs = [this] {
            if (!form_) return;
            const InputFilesState& state = form_->model().state();
            tools_->importMoreMcs({state.moreMcsPath, state.affix, state.affixIsPrefix});
        };
    }
    form_ = new FormInputFiles(job_, std::move(services));
    form_->setJobBusy(calculationRunning_);
    sub_ = main_.mdiArea()->addSubWindow(form_);
    sub_->setAttribute(Qt::WA_DeleteOnClose);
    // The frame around the design's size, until the settings give the window's own.
    const int border = sub_->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub_);
    const int title = sub_->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub_);
    sub_->resize(form_->width() + 2 * border, form_->height() + title + border);
    main_.windowPositions().restore(sub_, kWindowName);

    QObject::connect(form_, &FormInputFiles::closed, form_, [this, sub = sub_] {
        main_.windowPositions().store(sub, kWindowName);
        form_ = nullptr;
        sub_ = nullptr;
    });
    sub_->show();
    return *form_;
}

PointLoadServices InputWindows::loadServices() {
    PointLoadServices s =
        mainWindowLoadServices(job_, events_, main_, prompter_, eventPump_, settingsWritable_);
    if (calculation_ && calculation_->window()) s.seedValues = &calculation_->window()->flow().seedValues();
    return s;
}

void InputWindows::loadRunning(bool running) {
    // The commands that change the job, and every way to a calculation, wait for the load.
    lock_.setRunning(main_, calculation_, running);
}

void InputWindows::loaded(const PointLoadOutcome& outcome) {
    if (outcome.status != PointLoadStatus::Loaded) return;
    // The statistics of the new points are shown and filled.
    if (tools_) tools_->showStatistics();
    // An open calculation window is set up again for the new points.
    if (calculation_ && calculation_->window()) calculation_->reopen();
}

}  // namespace kal
