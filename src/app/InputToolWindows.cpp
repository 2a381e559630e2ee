#include "app/InputToolWindows.h"

#include <QTimer>

#include "platform/qt/QtShellOpener.h"
#include "shell/ui/FormChangeDir.h"

namespace kal {

namespace {
constexpr const char* kStatisticName = "FormInputStatistic";
constexpr const char* kBatchName = "FormBatch";
}  // namespace

InputToolWindows::InputToolWindows(JobState& job, JobEvents& events, FormMain& main,
                                   platform::Prompter& prompter, std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      settingsWritable_(std::move(settingsWritable)) {
    main_.connectCommand(Command::InputStatistic, [this] { switchStatistics(); });
    main_.connectCommand(Command::BatchTransform, [this] { showBatchWindow(); });
    // An open statistics window follows the job: new points, a reset, other units for the ranges.
    subscriptions_.push_back(
        events_.subscribe({JobEvent::JobReset, JobEvent::PointsReplaced, JobEvent::UnitsChanged},
                          Subscriber::Other, [this](JobEvent) {
                              if (statistics_) statistics_->fill();
                          }));
}

InputToolWindows::~InputToolWindows() {
    subscriptions_.clear();
    if (statisticsSub_) delete statisticsSub_.data();
}

// ---------------------------------------------------------------- the input statistics window

FormInputStatistic& InputToolWindows::showStatistics() {
    if (statistics_) {
        statistics_->fill();
        showStatisticsState();
        return *statistics_;
    }
    statistics_ = new FormInputStatistic(job_);
    statisticsSub_ = main_.mdiArea()->addSubWindow(statistics_);
    statisticsSub_->setAttribute(Qt::WA_DeleteOnClose);
    // Never smaller than its contents, whatever size the settings remember.
    statisticsSub_->setMinimumSize(statisticsSub_->minimumSizeHint());
    statisticsSub_->resize(twipsOnScreen(statisticsSub_, 6180), twipsOnScreen(statisticsSub_, 6810));
    // Where the user left it, once: a later fill leaves a window the user moved where it is.
    main_.windowPositions().restore(statisticsSub_, kStatisticName);
    QObject::connect(statistics_, &FormInputStatistic::closed, statistics_, [this, sub = statisticsSub_] {
        main_.windowPositions().store(sub, kStatisticName);
        statistics_ = nullptr;
        statisticsSub_ = nullptr;
        showStatisticsState();
    });
    // "&to Input Files" shows the input dialog through its own command, when the program has it.
    statistics_->inputFilesButton()->setEnabled(main_.commandConnected(Command::InputFiles));
    QObject::connect(statistics_, &FormInputStatistic::inputFilesRequested, statistics_, [this] {
        QAction* inputFiles = main_.action(Command::InputFiles);
        if (inputFiles && inputFiles->isEnabled()) inputFiles->trigger();
    });
    statisticsSub_->show();
    showStatisticsState();
    return *statistics_;
}

void InputToolWindows::switchStatistics() {
    if (statistics_)
        closeStatistics();
    else
        showStatistics();
    showStatisticsState();  // the entry's own toggle never decides: the window does
}

void InputToolWindows::closeStatistics() {
    if (statisticsSub_) statisticsSub_->close();
}

void InputToolWindows::showStatisticsState() {
    if (QAction* a = main_.action(Command::InputStatistic)) a->setChecked(statistics_ != nullptr);
}

// ---------------------------------------------------------------- the batch window

void InputToolWindows::writeSettings(const std::vector<IniEntry>& entries) {
    if (job_.IniFilePath.empty() || (settingsWritable_ && !settingsWritable_())) return;
    try {
        writeIniValues(job_.IniFilePath, entries);
    } catch (const std::exception& e) {
        prompter_.message(e.what());
    }
}

void InputToolWindows::showBatchWindow() {
    BatchWindowHooks hooks;
    hooks.chooseFolder = [this](const std::string& topText, const std::string& start) {
        std::string startDir = start;
        return main_.folderChooser().chooseFolder(topText, startDir);
    };
    hooks.exploreFolder = [](const std::string& folder) {
        return !folder.empty() && platform::QtShellOpener().openDocument(folder);
    };
    hooks.writeSettings = [this](const std::vector<IniEntry>& entries) { writeSettings(entries); };
    hooks.setLongWorkRunning = [this](bool running) { main_.setLongWorkRunning(running); };
    const platform::Services services{&prompter_, &clipboard_, &eventPump_, nullptr, nullptr};
    FormBatch window(job_, services, std::move(hooks),
                     batchWindowSettings(job_.IniFilePath, job_.AppDataFolder), &main_);
    window.resize(twipsOnScreen(&window, 8610), twipsOnScreen(&window, 10110));
    main_.windowPositions().restore(&window, kBatchName);
    if (batchShown_) {
        QTimer::singleShot(0, &window, [this, &window] {
            if (batchShown_) batchShown_(window);
        });
    }
    window.exec();
    main_.windowPositions().store(&window, kBatchName);
}

// ---------------------------------------------------------------- for the input-files dialog

std::string InputToolWindows::pointFileFromClipboard(ClipboardPointFile which) {
    if (job_.AppDataFolder.empty()) {
        prompter_.message("There is no data folder for the clipboard files (see the start-up message).");
        return {};
    }
    try {
        return writeClipboardPointFile(clipboard_, job_.AppDataFolder, which);
    } catch (const std::exception& e) {
        prompter_.message(e.what());
        return {};
    }
}

bool InputToolWindows::importMoreMcs(const MoreMcsRequest& request) {
    const bool imported = kal::importMoreMcs(job_, request, prompter_, &events_);
    if (imported) showStatistics();
    return imported;
}

}  // namespace kal
