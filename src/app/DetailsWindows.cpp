#include "app/DetailsWindows.h"

#include <QApplication>

#include "calculation/CalculationFlow.h"
#include "details/McsOnlyExport.h"
#include "details/RobCadExport.h"
#include "details/RocalExport.h"
#include "platform/qt/QtShellOpener.h"
#include "shared/IniFile.h"

namespace kal {

namespace {
constexpr const char* kWindowName = "FormTrafoDetails";
}

DetailsWindows::DetailsWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                               platform::FileDialogs& fileDialogs, std::function<bool()> settingsWritable,
                               std::function<void(const std::string&)> openFile)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      fileDialogs_(fileDialogs),
      settingsWritable_(std::move(settingsWritable)),
      openFile_(std::move(openFile)) {
    if (!openFile_) openFile_ = [](const std::string& path) { platform::QtShellOpener().openDocument(path); };
    main_.connectCommand(Command::ExportRobCad, [this] { exportRobCad(); });
    main_.connectCommand(Command::ExportRocal, [this] { exportRocal(); });
    main_.connectCommand(Command::ExportOnlyMcsPoints, [this] { exportMcsOnly(); });
    subscriptions_.push_back(events_.subscribe({JobEvent::JobReset, JobEvent::UnitsChanged,
                                                JobEvent::CalculationStarted, JobEvent::CalculationEnded},
                                               Subscriber::Other, [this](JobEvent e) {
                                                   switch (e) {
                                                       case JobEvent::JobReset:
                                                       case JobEvent::CalculationStarted:
                                                           close();
                                                           break;
                                                       case JobEvent::UnitsChanged:
                                                           if (form_ && job_.TrafoCalculated) form_->fill();
                                                           break;
                                                       case JobEvent::CalculationEnded:
                                                           if (detailsShownAfterCalculation(job_))
                                                               ensureOpen();
                                                           break;
                                                       default:
                                                           break;
                                                   }
                                               }));
}

DetailsWindows::~DetailsWindows() {
    subscriptions_.clear();
    if (sub_) delete sub_.data();
}

FormTrafoDetails& DetailsWindows::ensureOpen() {
    if (form_) {
        if (sub_) sub_->setFocus();
        return *form_;
    }
    const platform::Services services{&prompter_, &clipboard_, nullptr, nullptr, nullptr};
    DetailsWindowServices hooks;
    hooks.writeSetting = [this](const std::string& s, const std::string& k, const std::string& v) {
        writeSetting(s, k, v);
    };
    form_ = new FormTrafoDetails(job_, services, std::move(hooks));
    sub_ = main_.mdiArea()->addSubWindow(form_);
    sub_->setAttribute(Qt::WA_DeleteOnClose);
    sub_->resize(form_->sizeHint());
    main_.windowPositions().restore(sub_, kWindowName);
    // A stored or clamped size never squeezes the window below its minimum; a smaller one than
    // its panels need scrolls them inside it.
    sub_->resize(sub_->size().expandedTo(sub_->minimumSizeHint()));
    QObject::connect(form_, &FormTrafoDetails::closed, form_, [this, sub = sub_] {
        main_.windowPositions().store(sub, kWindowName);
        if (sub) sub->close();
        form_ = nullptr;
        sub_ = nullptr;
    });
    sub_->show();
    return *form_;
}

void DetailsWindows::close() {
    if (sub_) sub_->close();
}

void DetailsWindows::writeSetting(const std::string& section, const std::string& key,
                                  const std::string& value) {
    if (job_.IniFilePath.empty() || (settingsWritable_ && !settingsWritable_())) return;
    try {
        writeIniValues(job_.IniFilePath, {IniEntry{section, key, value}});
    } catch (const std::exception& e) {
        prompter_.message(e.what());
    }
}

ExportServices DetailsWindows::exportServices() {
    ExportServices s;
    s.prompter = &prompter_;
    s.fileDialogs = &fileDialogs_;
    s.writeSetting = [this](const std::string& section, const std::string& key, const std::string& value) {
        writeSetting(section, key, value);
    };
    s.openFile = openFile_;
    s.closeDetails = [this] { close(); };
    s.showBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    return s;
}

ExportOutcome DetailsWindows::exportRobCad() { return kal::exportRobCad(job_, exportServices()); }
ExportOutcome DetailsWindows::exportRocal() { return kal::exportRocal(job_, exportServices()); }
ExportOutcome DetailsWindows::exportMcsOnly() { return kal::exportMcsOnlyPoints(job_, exportServices()); }

}  // namespace kal
